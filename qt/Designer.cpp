#include "qt/Designer.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStatusBar>

#include "components/LoadedForm.h"
#include "components/pDBBarcode.h"
#include "qt/ControlWidget.h"
#include "qt/DataPanel.h"
#include "vector/Printer.h"

namespace ribbon::qt {

namespace {

QComboBox* Choices(std::initializer_list<const char*> items) {
    auto* box = new QComboBox;
    for (const char* item : items) box->addItem(item);
    return box;
}

QString Latin1(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

void ShowColor(QPushButton* button, TColor c) {
    const QColor color(GetRValue(c), GetGValue(c), GetBValue(c));
    button->setText(color.name());
    button->setStyleSheet(QString("background-color: %1; color: %2")
                              .arg(color.name(), color.lightness() < 128 ? "white" : "black"));
}

}  // namespace

DesignerWindow::DesignerWindow(QWidget* Parent)
    : QMainWindow(Parent), barCode_(new TDBBarcode(&owner_)) {
    setWindowTitle("ribbon designer");
    // A designer designs: the data typed in is the control's own, and a bound data source only
    // shows its records.
    barCode_->SetDesigning(true);
    barCode_->SetName("BarCode1");
    barCode_->SetBounds(0, 0, 320, 120);
    barCode_->SetBarcode("RIBBONKIT");
    barCode_->SetColor(clWhite);
    barCode_->SetBorderWidth(12);  // a quiet zone inside the frame, so the symbol scans

    auto* central = new QWidget;
    auto* layout = new QHBoxLayout(central);
    auto* area = new QScrollArea;
    area->setAlignment(Qt::AlignCenter);
    area->setMinimumSize(360, 240);
    widget_ = new ControlWidget(*barCode_);
    area->setWidget(widget_);
    layout->addWidget(area, 1);
    auto* side = new QVBoxLayout;
    side->addWidget(BuildPanel());
    dataPanel_ = new DataPanel(static_cast<TDBBarcode&>(*barCode_));
    dataPanel_->OnStatus = [this](const QString& message) {
        message.isEmpty() ? statusBar()->clearMessage() : statusBar()->showMessage(message);
    };
    dataPanel_->OnRecordChanged = [this] { ShowProperties(); };
    side->addWidget(dataPanel_);
    side->addStretch();
    layout->addLayout(side);
    setCentralWidget(central);
    widget_->OnPaintError = [this](const std::string& message) {
        statusBar()->showMessage(Latin1(message));
    };

    QMenu* file = menuBar()->addMenu("&File");
    file->addAction("&Open form...", this, [this] {
        const QString name = QFileDialog::getOpenFileName(this, "Open form", {}, "Forms (*.dfm)");
        if (name.isEmpty()) return;
        if (const std::optional<QString> control = ChooseControl(name)) LoadForm(name, *control);
    });
    file->addAction("&Save form...", this, [this] {
        const QString name = QFileDialog::getSaveFileName(this, "Save form", {}, "Forms (*.dfm)");
        if (!name.isEmpty()) SaveForm(name);
    });
    file->addAction("&Print to PDF...", this, [this] {
        const QString name = QFileDialog::getSaveFileName(this, "Print", {}, "PDF (*.pdf)");
        if (!name.isEmpty()) PrintToFile(name);
    });
    file->addSeparator();
    file->addAction("&Quit", this, &QWidget::close);
    ShowProperties();
}

DesignerWindow::~DesignerWindow() {
    delete widget_;  // before the control it shows
    widget_ = nullptr;
    delete dataPanel_;  // and the data source the control is bound to
    dataPanel_ = nullptr;
}

QWidget* DesignerWindow::BuildPanel() {
    auto* panel = new QWidget;
    auto* form = new QFormLayout(panel);
    AddSymbolRows(*form);
    AddPlacementRows(*form);
    AddColorRows(*form);
    AddSizeRows(*form);
    return panel;
}

void DesignerWindow::AddSymbolRows(QFormLayout& form) {
    data_ = new QLineEdit;
    form.addRow("Data", data_);
    connect(data_, &QLineEdit::textEdited, this, [this](const QString& text) {
        Edit([&] { barCode_->SetBarcode(text.toLatin1().toStdString()); });
    });

    type_ = new QComboBox;
    for (int i = 0; i < BarTypeCount; ++i)
        type_->addItem(Latin1(Z_GetBarTypeName(static_cast<TBarType>(i))));
    form.addRow("Type", type_);
    connect(type_, &QComboBox::currentIndexChanged, this,
            [this](int i) { Edit([&] { barCode_->SetBarType(static_cast<TBarType>(i)); }); });

    modul_ = new QSpinBox;
    modul_->setRange(1, 49);
    form.addRow("Module", modul_);
    connect(modul_, &QSpinBox::valueChanged, this,
            [this](int v) { Edit([&] { barCode_->SetModul(v); }); });

    ratio_ = new QDoubleSpinBox;
    ratio_->setRange(1.0, 10.0);
    ratio_->setSingleStep(0.25);
    form.addRow("Ratio", ratio_);
    connect(ratio_, &QDoubleSpinBox::valueChanged, this,
            [this](double v) { Edit([&] { barCode_->SetRatio(v); }); });

    checkSum_ = new QCheckBox("Check digit");
    form.addRow("", checkSum_);
    connect(checkSum_, &QCheckBox::toggled, this,
            [this](bool on) { Edit([&] { barCode_->SetCheckSum(on ? csModulo10 : csNone); }); });
}

void DesignerWindow::AddPlacementRows(QFormLayout& form) {
    orientation_ = Choices({"Left to right", "Right to left", "Top to bottom", "Bottom to top"});
    form.addRow("Orientation", orientation_);
    connect(orientation_, &QComboBox::currentIndexChanged, this, [this](int i) {
        Edit([&] { barCode_->SetOrientation(static_cast<TOrientation>(i)); });
    });

    alignment_ = Choices({"Left", "Right", "Centre"});
    form.addRow("Alignment", alignment_);
    connect(alignment_, &QComboBox::currentIndexChanged, this, [this](int i) {
        Edit([&] {
            barCode_->SetAlignment(static_cast<TAlignment>(i));
            barCode_->Repaint();  // a panel setting: the control repaints when it is shown
        });
    });

    textShow_ = Choices({"None", "Data", "Symbology", "Both"});
    form.addRow("Text", textShow_);
    connect(textShow_, &QComboBox::currentIndexChanged, this,
            [this](int i) { Edit([&] { barCode_->SetTextShow(static_cast<TTextShow>(i)); }); });
    textPosition_ = Choices(
        {"Top left", "Top right", "Top centre", "Bottom left", "Bottom right", "Bottom centre"});
    form.addRow("Text position", textPosition_);
    connect(textPosition_, &QComboBox::currentIndexChanged, this, [this](int i) {
        Edit([&] { barCode_->SetTextPosition(static_cast<TTextPosition>(i)); });
    });
}

void DesignerWindow::AddColorRows(QFormLayout& form) {
    const struct {
        const char* Label;
        std::function<TColor()> Get;
        std::function<void(TColor)> Set;
    } colors[] = {
        {"Bars", [this] { return barCode_->ColorBar(); },
         [this](TColor c) { barCode_->SetColorBar(c); }},
        {"Spaces", [this] { return barCode_->ColorSpc(); },
         [this](TColor c) { barCode_->SetColorSpc(c); }},
        {"Text background", [this] { return barCode_->TextColor(); },
         [this](TColor c) { barCode_->SetTextColor(c); }},
        {"Control", [this] { return barCode_->Color(); },
         [this](TColor c) {
             barCode_->SetColor(c);
             barCode_->Repaint();
         }},
    };
    for (const auto& c : colors) {
        auto* button = new QPushButton;
        form.addRow(c.Label, button);
        colorButtons_.emplace_back(button, c.Get);
        connect(button, &QPushButton::clicked, this,
                [this, button, get = c.Get, set = c.Set] { ChooseColor(button, get(), set); });
    }
}

void DesignerWindow::AddSizeRows(QFormLayout& form) {
    width_ = new QSpinBox;
    width_->setRange(1, 4000);
    height_ = new QSpinBox;
    height_->setRange(1, 4000);
    form.addRow("Width", width_);
    form.addRow("Height", height_);
    connect(width_, &QSpinBox::valueChanged, this,
            [this](int v) { Edit([&] { barCode_->SetWidth(v); }); });
    connect(height_, &QSpinBox::valueChanged, this,
            [this](int v) { Edit([&] { barCode_->SetHeight(v); }); });
    autoWidth_ = new QCheckBox("Size to the symbol");
    form.addRow("", autoWidth_);
    connect(autoWidth_, &QCheckBox::toggled, this,
            [this](bool on) { Edit([&] { barCode_->SetAutoWidth(on); }); });
}

void DesignerWindow::ChooseColor(QPushButton* Button, TColor Current,
                                 const std::function<void(TColor)>& Set) {
    const QColor chosen = QColorDialog::getColor(
        QColor(GetRValue(Current), GetGValue(Current), GetBValue(Current)), this);
    if (!chosen.isValid()) return;
    Edit([&] { Set(RGB(chosen.red(), chosen.green(), chosen.blue())); });
    ShowColor(Button, RGB(chosen.red(), chosen.green(), chosen.blue()));
}

void DesignerWindow::Edit(const std::function<void()>& Change) {
    if (showing_) return;
    try {
        Change();
        statusBar()->clearMessage();
    } catch (const Exception& e) {
        statusBar()->showMessage(Latin1(e.Message));
    }
    ShowProperties();
}

void DesignerWindow::ShowProperties() {
    showing_ = true;
    const TBarCode& c = *barCode_;
    if (data_->text().toLatin1().toStdString() != c.BarCode() && !data_->hasFocus())
        data_->setText(Latin1(c.BarCode()));
    type_->setCurrentIndex(c.BarType());
    modul_->setValue(c.Modul());
    ratio_->setValue(c.Ratio());
    checkSum_->setChecked(c.CheckSum() == csModulo10);
    orientation_->setCurrentIndex(c.Orientation());
    alignment_->setCurrentIndex(c.Alignment());
    textShow_->setCurrentIndex(c.TextShow());
    textPosition_->setCurrentIndex(c.TextPosition());
    autoWidth_->setChecked(c.AutoWidth());
    width_->setValue(c.Width());
    height_->setValue(c.Height());
    for (auto& [button, get] : colorButtons_) ShowColor(button, get());
    showing_ = false;
}

std::optional<QString> DesignerWindow::ChooseControl(const QString& FileName) {
    QStringList names;
    try {
        for (const TFormObjectInfo& o : FormObjects(LoadFormText(FileName.toStdString())))
            if (o.ClassName != "TTableSource") names << Latin1(o.Name);
    } catch (const Exception&) {
        return QString();  // loading says what is wrong
    }
    if (names.size() < 2) return QString();
    bool chosen = false;
    const QString name =
        QInputDialog::getItem(this, "Open form", "The control to edit:", names, 0, false, &chosen);
    return chosen ? std::optional(name) : std::nullopt;
}

bool DesignerWindow::LoadForm(const QString& FileName, const QString& Name) {
    try {
        // The whole file is checked, its table opened, before the designer changes.
        const TLoadedForm form(FileName.toStdString());
        const TBarCode& chosen = form.Control(Name.toLatin1().toStdString());
        dataPanel_->CloseDatabase();
        barCode_->SetName(chosen.Name());
        CopyProperties(chosen, *barCode_);
        auto& control = static_cast<TDBBarcode&>(*barCode_);
        const auto* bound = dynamic_cast<const TDBBarcode*>(&chosen);
        control.SetReadOnly(bound && bound->ReadOnly());
        if (const TTableSource* source = TLoadedForm::SourceOf(chosen)) {
            if (!dataPanel_->Bind(*source, bound->DataField())) return false;  // the status says
        } else {
            control.SetDataField(bound ? bound->DataField() : std::string());
        }
    } catch (const Exception& e) {
        statusBar()->showMessage(Latin1(e.Message));
        return false;
    }
    ShowProperties();
    statusBar()->showMessage("Loaded " + FileName);
    return true;
}

bool DesignerWindow::SaveForm(const QString& FileName) {
    try {
        const TBarCode* controls[] = {barCode_};
        WriteFormFile(FileName.toStdString(), controls);
    } catch (const Exception& e) {
        statusBar()->showMessage(Latin1(e.Message));
        return false;
    }
    statusBar()->showMessage("Saved " + FileName);
    return true;
}

bool DesignerWindow::PrintToFile(const QString& FileName) {
    TPrinter& printer = Printer();
    try {
        printer.FileName = FileName.toStdString();
        printer.BeginDoc();
        barCode_->Print(utMillimeter, 20, 20, 20, 0.33);
        printer.EndDoc();
    } catch (const Exception& e) {
        printer.Abort();
        statusBar()->showMessage(Latin1(e.Message));
        return false;
    }
    statusBar()->showMessage("Printed to " + FileName);
    return true;
}

QString DesignerWindow::Status() const {
    return statusBar()->currentMessage();
}

}  // namespace ribbon::qt
