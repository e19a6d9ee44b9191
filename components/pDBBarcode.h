#pragma once
// TDBBarcode: the barcode control bound to one field of a data set. It shows the field's value
// of the current record as its barcode, and a barcode set in code is written into the field.
// Everything else (painting, the settings, measuring, printing, OnInvalidChar, OnChange) is
// TBarCode's.
//
// The binding goes through a field data link to a data source the application owns. Moving
// through the records only shows values; the field is written only when a barcode set in code
// differs from the field's text. With a read-only link or field, or no field resolved, the
// control shows the field's value (empty without a field) and never writes.

#include <string>

#include "../base/Export.h"
#include "../components/pBarCode.h"
#include "../data/DataSource.h"

namespace ribbon {

class TDBBarcode;

/// Type information of the data-aware control: its published properties after TBarCode's.
RIBBON_DECLARE_TYPE_INFO(TDBBarcode);

class RIBBON_API TDBBarcode : public TBarCode {
  public:
    explicit TDBBarcode(TComponent* Owner);
    ~TDBBarcode() override;

    const std::string& DataField() const;
    void SetDataField(const std::string& Value);
    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* Value);
    bool ReadOnly() const;
    void SetReadOnly(bool Value);
    /// The field resolved from DataSource and DataField; nullptr while there is none.
    TField* Field() const;
    /// The same four under the names of the published interface.
    TDataSource* GetDataSource() const;
    const std::string& GetDataField() const;
    bool GetReadOnly() const;
    TField* GetField() const;

    void SetBarcode(const std::string& Value) override;

    /// The link's callbacks: show the field's value; write the barcode into the field.
    void DataChange(TObject* Sender);
    void UpdateData(TObject* Sender);

    bool ExecuteAction(TBasicAction* Action) override;
    bool UpdateAction(TBasicAction* Action) override;
    void Dispatch(TMessage& Message) override;

  protected:
    void Notification(TComponent* Component, TOperation Operation) override;

  private:
    void CMGetDataLink(TMessage& Message);
    /// Writes Text into the field when it differs, without showing it back to this control.
    void WriteField(const std::string& Text);

    TFieldDataLink* dataLink_ = nullptr;
    bool writing_ = false;
};

}  // namespace ribbon
