#include "qt/DataPanel.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "runtime/Format.h"

namespace ribbon::qt {

namespace {

QString Latin1(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

DataPanel::DataPanel(TDBBarcode& Control, QWidget* Parent)
    : QGroupBox("Data", Parent), control_(Control) {
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
    source_.SetDataSet(nullptr);
    data_.reset();
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
        auto db = std::make_shared<TDatabase>(FileName.toStdString(), TOpenMode::ReadOnly);
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
    source_.SetDataSet(nullptr);
    data_.reset();
    filling_ = true;
    fields_->clear();
    if (tables_->currentText() != Table) tables_->setCurrentText(Table);
    filling_ = false;
    const bool opened = Try([&] {
        auto data = std::make_unique<TDataSet>(db_);
        data->SetTableName(Table.toStdString());
        data->Open();
        data_ = std::move(data);
    });
    if (!opened) return false;
    filling_ = true;
    for (int i = 0; i < data_->FieldCount(); ++i)
        fields_->addItem(Latin1(data_->Fields(i).FieldName()));
    filling_ = false;
    source_.SetDataSet(data_.get());
    SelectField(fields_->currentText());  // a field the control refuses shows in the status
    return true;
}

bool DataPanel::SelectField(const QString& Field) {
    if (!data_) return false;
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
    if (!data_) return false;
    TDataSetAction action(nullptr, Command);
    // Through the control, as any action a data-aware control is offered.
    const bool moved = Try([&] {
        if (!control_.ExecuteAction(&action)) throw Exception("No records to move through");
    });
    if (OnRecordChanged) OnRecordChanged();
    return moved;
}

QString DataPanel::RecordText() const {
    if (!data_ || data_->IsEmpty()) return {};
    return QString("record %1 of %2").arg(data_->RecNo()).arg(data_->RecordCount());
}

void DataPanel::ShowRecord() {
    record_->setText(RecordText());
}

}  // namespace ribbon::qt
