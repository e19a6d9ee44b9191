#include "components/TableSource.h"

#include <filesystem>

namespace ribbon {

TTableSource::TTableSource(TComponent* Owner) : TDataSource(Owner) {}

TTableSource::~TTableSource() {
    Close();
}

void TTableSource::SetDatabaseName(const std::string& Value) {
    Close();
    databaseName_ = Value;
}

void TTableSource::SetTableName(const std::string& Value) {
    Close();
    tableName_ = Value;
}

int TTableSource::RecNo() const {
    return data_ ? data_->RecNo() : recNo_;
}

void TTableSource::SetRecNo(int Value) {
    if (data_)
        data_->SetRecNo(Value);
    else
        recNo_ = Value;
}

void TTableSource::Open(const std::string& Folder) {
    if (data_) return;
    if (databaseName_.empty()) throw EDatabaseError("No database file given to open");
    std::filesystem::path file(databaseName_);
    if (file.is_relative() && !Folder.empty()) file = std::filesystem::path(Folder) / file;
    auto data =
        std::make_unique<TDataSet>(std::make_shared<TDatabase>(file.string(), TOpenMode::ReadOnly));
    data->SetTableName(tableName_);
    data->Open();
    data->SetRecNo(recNo_);
    recNo_ = 1;  // the next table opens at its start unless told otherwise
    data_ = std::move(data);
    SetDataSet(data_.get());
}

void TTableSource::Close() {
    if (!data_) return;
    SetDataSet(nullptr);  // the controls let go before the records do
    data_.reset();
}

std::string TTableSource::FileName() const {
    return data_ ? data_->Database().FileName() : std::string();
}

}  // namespace ribbon
