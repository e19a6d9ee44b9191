#include "components/pDBBarcode.h"

namespace ribbon {

TDBBarcode::TDBBarcode(TComponent* Owner) : TBarCode(Owner) {
    ControlStyle.Include(csReplicatable);
    dataLink_ = new TFieldDataLink;
    dataLink_->SetControl(this);
    dataLink_->OnDataChange = [this](TObject* Sender) { DataChange(Sender); };
    dataLink_->OnUpdateData = [this](TObject* Sender) { UpdateData(Sender); };
}

TDBBarcode::~TDBBarcode() {
    delete dataLink_;
    dataLink_ = nullptr;
}

const std::string& TDBBarcode::DataField() const {
    return dataLink_->FieldName();
}

void TDBBarcode::SetDataField(const std::string& Value) {
    dataLink_->SetFieldName(Value);
}

TDataSource* TDBBarcode::DataSource() const {
    return dataLink_->DataSource();
}

void TDBBarcode::SetDataSource(TDataSource* Value) {
    if (!(dataLink_->DataSourceFixed() && Loading())) dataLink_->SetDataSource(Value);
    if (Value) Value->FreeNotification(this);
}

bool TDBBarcode::ReadOnly() const {
    return dataLink_->ReadOnly();
}

void TDBBarcode::SetReadOnly(bool Value) {
    dataLink_->SetReadOnly(Value);
}

TField* TDBBarcode::Field() const {
    return dataLink_->Field();
}

TDataSource* TDBBarcode::GetDataSource() const {
    return DataSource();
}

const std::string& TDBBarcode::GetDataField() const {
    return DataField();
}

bool TDBBarcode::GetReadOnly() const {
    return ReadOnly();
}

TField* TDBBarcode::GetField() const {
    return Field();
}

void TDBBarcode::DataChange(TObject* /*Sender*/) {
    if (writing_) return;  // the field took the value from this control, which shows it next
    TField* field = dataLink_->Field();
    SetBarcode(field ? field->EditText() : std::string());
}

void TDBBarcode::UpdateData(TObject* /*Sender*/) {
    if (dataLink_->CanModify()) WriteField(BarCode());
}

void TDBBarcode::WriteField(const std::string& Text) {
    TField& field = *dataLink_->Field();
    if (field.EditText() == Text) return;
    writing_ = true;
    try {
        field.SetEditText(Text);
    } catch (...) {
        writing_ = false;
        throw;
    }
    writing_ = false;
}

void TDBBarcode::SetBarcode(const std::string& Value) {
    if (Designing()) return TBarCode::SetBarcode(Value);
    TField* field = dataLink_->Field();
    if (dataLink_->CanModify()) {
        // A record change hands in the field's own text: shown, never written back.
        WriteField(Value);
        TBarCode::SetBarcode(Value);
        // OnInvalidChar may have repaired the text: the field keeps what the control shows.
        if (BarCode() != Value) WriteField(BarCode());
        return;
    }
    // Nothing may be written: the control keeps showing what the field holds.
    TBarCode::SetBarcode(field ? field->EditText() : std::string());
}

void TDBBarcode::Notification(TComponent* Component, TOperation Operation) {
    TBarCode::Notification(Component, Operation);
    if (Operation == opRemove && dataLink_ && Component == DataSource()) SetDataSource(nullptr);
}

bool TDBBarcode::ExecuteAction(TBasicAction* Action) {
    return TBarCode::ExecuteAction(Action) || (dataLink_ && dataLink_->ExecuteAction(Action));
}

bool TDBBarcode::UpdateAction(TBasicAction* Action) {
    return TBarCode::UpdateAction(Action) || (dataLink_ && dataLink_->UpdateAction(Action));
}

void TDBBarcode::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_GETDATALINK) return CMGetDataLink(Message);
    TBarCode::Dispatch(Message);
}

void TDBBarcode::CMGetDataLink(TMessage& Message) {
    Message.Result = reinterpret_cast<std::intptr_t>(dataLink_);
}

}  // namespace ribbon
