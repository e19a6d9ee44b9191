#include "data/DataSetAction.h"

namespace ribbon {

void TDataSetAction::SetDataSource(TDataSource* Value) {
    if (Value == dataSource_) return;
    if (dataSource_) dataSource_->RemoveFreeNotification(this);
    dataSource_ = Value;
    if (dataSource_) dataSource_->FreeNotification(this);
}

void TDataSetAction::Notification(TComponent* Component, TOperation Operation) {
    TBasicAction::Notification(Component, Operation);
    if (Operation == opRemove && Component == dataSource_) dataSource_ = nullptr;
}

bool TDataSetAction::HandlesTarget(TObject* Target) {
    auto* source = dynamic_cast<TDataSource*>(Target);
    return source && (!dataSource_ || source == dataSource_) && source->DataSet() &&
           source->DataSet()->Active();
}

void TDataSetAction::ExecuteTarget(TObject* Target) {
    TDataSet& data = *static_cast<TDataSource*>(Target)->DataSet();
    switch (command_) {
        case dcFirst:
            return data.First();
        case dcPrior:
            return data.Prior();
        case dcNext:
            return data.Next();
        case dcLast:
            return data.Last();
        case dcInsert:
            return data.Insert();
        case dcDelete:
            return data.Delete();
        case dcEdit:
            return data.Edit();
        case dcPost:
            return data.Post();
        case dcCancel:
            return data.Cancel();
        case dcRefresh:
            return data.Refresh();
    }
}

void TDataSetAction::UpdateTarget(TObject* Target) {
    const TDataSet& data = *static_cast<TDataSource*>(Target)->DataSet();
    const bool browsing = data.State() == dsBrowse;
    const bool editing = data.State() == dsEdit || data.State() == dsInsert;
    switch (command_) {
        case dcFirst:
        case dcPrior:
            return SetEnabled(browsing && !data.Bof());
        case dcNext:
        case dcLast:
            return SetEnabled(browsing && !data.Eof());
        case dcInsert:
            return SetEnabled(data.CanModify());
        case dcDelete:
        case dcEdit:
            return SetEnabled(browsing && data.CanModify() && !data.IsEmpty());
        case dcPost:
        case dcCancel:
            return SetEnabled(editing);
        case dcRefresh:
            return SetEnabled(browsing);
    }
}

}  // namespace ribbon
