#include "qt/DataPanel.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <filesystem>

#include "base/Format.h"

namespace ribbon::qt {

namespace {

QString Latin1(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

DataPanel::DataPanel(TDBBarcode& Control, QWidget* Parent)
    : QGroupBox("Data", Parent), control_(Control) {
    source_.SetName("DataSource1");
    auto* form = new QFormLayout(this);
    auto* open = new QPushButton("Open database...");
    form->addRow(open);
    connect(open, &QPushButton::clicked, this, [this] {
        const QString name = QFileDialog::getOpenFileName(
            this, "Open database", {}, "SQLite databases (*.db *.sqlite *.sqlite3);;All files (*)");
        if (!name.isEmpty()) OpenDatabase(name);
    });
    tables_ = new QComboBox;
    fields_ = new QComboBox;
    form->addRow("Table", tables_);
    form->addRow("Field", fields_);
    connect(tables_, &QComboBox::currentTextChanged, this, [this](const QString& table) {
        if (!filling_ && !table.isEmpty()) SelectTable(table);
    });
    connect(fields_, &QComboBox::currentTextChanged, this, [this](const QString& field) {
        if (!filling_ && !field.isEmpty()) SelectField(field);
    });

    auto* moves = new QHBoxLayout;
    const struct {
        const char* Text;
        TDataSetCommand Command;
    } buttons[] = {{"|<", dcFirst}, {"<", dcPrior}, {">", dcNext}, {">|", dcLast}};
    for (const auto& b : buttons) {
        auto* button = new QPushButton(b.Text);
        button->setMaximumWidth(40);
        moves->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, c = b.Command] { Move(c); });
    }
    form->addRow(moves);
    record_ = new QLabel;
    form->addRow(record_);
}

DataPanel::~DataPanel() {
    control_.SetDataSource(nullptr);
}

bool DataPanel::Try(const std::function<void()>& Action) {
    try {
        Action();
        if (OnStatus) OnStatus({});
    } catch (const Exception& e) {
        if (OnStatus) OnStatus(Latin1(e.Message));
        ShowRecord();
        return false;
    }
    ShowRecord();
    return true;
}

void DataPanel::CloseDatabase() {
    control_.SetDataSource(nullptr);
    control_.SetDataField({});  // a plain control again, as a form file saves it
    source_.Close();
    db_.reset();
    filling_ = true;
    tables_->clear();
    fields_->clear();
    filling_ = false;
    ShowRecord();
}

bool DataPanel::OpenDatabase(const QString& FileName) {
    CloseDatabase();
    std::vector<std::string> tables;
    const bool opened = Try([&] {
        // By its full path, so that a form saved anywhere finds it again.
        std::error_code unknown;  // then the name as given
        std::string file = std::filesystem::absolute(FileName.toStdString(), unknown).string();
        if (unknown) file = FileName.toStdString();
        auto db = std::make_shared<TDatabase>(file, TOpenMode::ReadOnly);
        TStatement list(*db,
                        "SELECT name FROM sqlite_schema WHERE type IN ('table', 'view') AND "
                        "name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name");
        while (list.Step()) tables.push_back(DbValueToText(list.Column(0)));
        if (tables.empty()) throw EDatabaseError(FileName.toStdString() + " holds no tables");
        db_ = std::move(db);
    });
    if (!opened) return false;
    filling_ = true;
    for (const std::string& t : tables) tables_->addItem(Latin1(t));
    filling_ = false;
    return SelectTable(tables_->currentText());  // the table opens or says why not
}

bool DataPanel::SelectTable(const QString& Table) {
    if (!db_) return false;
    control_.SetDataSource(nullptr);
    source_.Close();
    filling_ = true;
    fields_->clear();
    if (tables_->currentText() != Table) tables_->setCurrentText(Table);
    filling_ = false;
    const bool opened = Try([&] {
        source_.SetDatabaseName(db_->FileName());
        source_.SetTableName(Table.toStdString());
        source_.Open();
    });
    if (!opened) return false;
    filling_ = true;
    for (int i = 0; i < source_.DataSet()->FieldCount(); ++i)
        fields_->addItem(Latin1(source_.DataSet()->Fields(i).FieldName()));
    filling_ = false;
    SelectField(fields_->currentText());  // a field the control refuses shows in the status
    return true;
}

bool DataPanel::SelectField(const QString& Field) {
    if (!source_.Active()) return false;
    if (fields_->currentText() != Field) {
        filling_ = true;
        fields_->setCurrentText(Field);
        filling_ = false;
    }
    const bool bound = Try([&] {
        control_.SetDataField({});
        control_.SetDataSource(&source_);
        control_.SetDataField(Field.toStdString());
    });
    if (OnRecordChanged) OnRecordChanged();
    return bound;
}

bool DataPanel::Move(TDataSetCommand Command) {
    if (!source_.Active()) return false;
    TDataSetAction action(nullptr, Command);
    // Through the control, as any action a data-aware control is offered.
    const bool moved = Try([&] {
        if (!control_.ExecuteAction(&action)) throw Exception("No records to move through");
    });
    if (OnRecordChanged) OnRecordChanged();
    return moved;
}

bool DataPanel::Bind(const TTableSource& Source, const std::string& Field) {
    if (!OpenDatabase(QString::fromStdString(Source.FileName())) ||
        !SelectTable(Latin1(Source.TableName())) || !SelectField(Latin1(Field)))
        return false;
    source_.SetName(Source.Name());
    const bool moved = Try([&] { source_.SetRecNo(Source.RecNo()); });
    if (OnRecordChanged) OnRecordChanged();
    return moved;
}

QString DataPanel::RecordText() const {
    const TDataSet* data = source_.DataSet();
    if (!data || data->IsEmpty()) return {};
    return QString("record %1 of %2").arg(data->RecNo()).arg(data->RecordCount());
}

void DataPanel::ShowRecord() {
    record_->setText(RecordText());
}

}  // namespace ribbon::qt
