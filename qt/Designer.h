#pragma once
// The designer demo's window: a barcode control and a panel of its properties that edits it
// live, with form files to load and save.

#include <QMainWindow>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "components/pBarCode.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFormLayout;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace ribbon::qt {

class ControlWidget;
class DataPanel;

class DesignerWindow : public QMainWindow {
  public:
    explicit DesignerWindow(QWidget* Parent = nullptr);
    ~DesignerWindow() override;

    TBarCode& BarCode() { return *barCode_; }
    ControlWidget& Widget() { return *widget_; }
    QLineEdit& DataEdit() { return *data_; }
    QComboBox& TypeBox() { return *type_; }
    // The data-bound mode: a SQLite file, a table and a field the control follows.
    DataPanel& Data() { return *dataPanel_; }

    // Load and save the control as a form file; a failure is shown in the status bar and
    // returned as false. Loading takes the control named Name, or the first, with the table
    // it is bound to; saving writes a TDBBarcode and its data source while the Data box has a
    // field bound, a TBarCode otherwise.
    bool LoadForm(const QString& FileName, const QString& Name = {});
    bool SaveForm(const QString& FileName);
    // Prints the control on one page of the printer, a PDF file: at 20 mm from the top-left
    // corner, a module of 0.33 mm and bars 20 mm high, in the control's orientation.
    bool PrintToFile(const QString& FileName);
    // The message on the status bar.
    QString Status() const;

  private:
    QWidget* BuildPanel();
    // The panel's rows: data, type, module, ratio, check digit; orientation, alignment, text;
    // colours; size.
    void AddSymbolRows(QFormLayout& Form);
    void AddPlacementRows(QFormLayout& Form);
    void AddColorRows(QFormLayout& Form);
    void AddSizeRows(QFormLayout& Form);
    // The control to open of a form file with several, asked of the user: empty for the
    // first, nothing when the user cancels.
    std::optional<QString> ChooseControl(const QString& FileName);
    // Runs a change of the control; its error goes to the status bar, and the panel shows what
    // the control holds afterwards.
    void Edit(const std::function<void()>& Change);
    void ShowProperties();
    void ChooseColor(QPushButton* Button, TColor Current, const std::function<void(TColor)>& Set);

    TComponent owner_{nullptr};
    TBarCode* barCode_;
    ControlWidget* widget_ = nullptr;
    DataPanel* dataPanel_ = nullptr;
    QLineEdit* data_ = nullptr;
    QComboBox* type_ = nullptr;
    QSpinBox* modul_ = nullptr;
    QDoubleSpinBox* ratio_ = nullptr;
    QComboBox* orientation_ = nullptr;
    QComboBox* alignment_ = nullptr;
    QComboBox* textShow_ = nullptr;
    QComboBox* textPosition_ = nullptr;
    QCheckBox* checkSum_ = nullptr;
    QCheckBox* autoWidth_ = nullptr;
    QSpinBox* width_ = nullptr;
    QSpinBox* height_ = nullptr;
    std::vector<std::pair<QPushButton*, std::function<TColor()>>> colorButtons_;
    bool showing_ = false;  // the panel is being filled from the control
};

}  // namespace ribbon::qt
