#pragma once
// The designer's data-bound mode: open an SQLite file, pick a table and a field, and step
// through the records while the control (a TDBBarcode) follows. The file is opened read-only:
// the designer shows data, it never writes it.

#include <QGroupBox>
#include <functional>
#include <memory>

#include "components/TableSource.h"
#include "components/pDBBarcode.h"
#include "data/DataSetAction.h"

class QComboBox;
class QLabel;

namespace ribbon::qt {

class DataPanel : public QGroupBox {
  public:
    explicit DataPanel(TDBBarcode& Control, QWidget* Parent = nullptr);
    ~DataPanel() override;

    // Each returns false and reports through OnStatus when it fails. Opening a file opens its
    // first table, and a table binds its first field (a value the control refuses shows in the
    // status, the table stays open).
    bool OpenDatabase(const QString& FileName);
    bool SelectTable(const QString& Table);
    bool SelectField(const QString& Field);
    bool Move(TDataSetCommand Command);
    // Unbinds the control (its field too) and closes the file.
    void CloseDatabase();
    // The binding of a control read from a form file: its source's file, table and record
    // (and name, which the next saved form gives it again), and its field.
    bool Bind(const TTableSource& Source, const std::string& Field);

    QComboBox& TableBox() { return *tables_; }
    QComboBox& FieldBox() { return *fields_; }
    // The data source the control is bound to: a form file names it and its table.
    const TTableSource& Source() const { return source_; }
    // "record 3 of 120", or empty without records.
    QString RecordText() const;

    std::function<void(const QString& Message)> OnStatus;  // an empty message clears
    std::function<void()> OnRecordChanged;                 // the control shows another value

  private:
    bool Try(const std::function<void()>& Action);
    void ShowRecord();

    TDBBarcode& control_;
    std::shared_ptr<TDatabase> db_;  // lists the tables
    TTableSource source_;
    QComboBox* tables_ = nullptr;
    QComboBox* fields_ = nullptr;
    QLabel* record_ = nullptr;
    bool filling_ = false;  // the boxes are being filled, not chosen
};

}  // namespace ribbon::qt
