#include "data/DataSource.h"

#include <algorithm>
#include <exception>

namespace ribbon {

// ---- TDataSource -------------------------------------------------------------------------

TDataSource::TDataSource(TComponent* Owner) : TComponent(Owner) {}

TDataSource::~TDataSource() {
    // Controls refusing to show "nothing" cannot keep the source alive.
    try {
        SetDataSet(nullptr);
    } catch (...) {
    }
    while (!links_.empty()) {
        TDataLink* link = links_.back();
        try {
            link->SetDataSource(nullptr);
        } catch (...) {
            std::erase(links_, link);
        }
    }
}

void TDataSource::SetDataSet(TDataSet* Value) {
    if (Value == dataSet_) return;
    if (dataSet_) dataSet_->RemoveDataSource(this);
    dataSet_ = Value;
    if (dataSet_) dataSet_->AddDataSource(this);
    NotifyLinks(deUpdateState, nullptr);
    NotifyLinks(deLayoutChange, nullptr);
}

void TDataSource::SetEnabled(bool Value) {
    if (Value == enabled_) return;
    enabled_ = Value;
    NotifyLinks(deUpdateState, nullptr);
    NotifyLinks(deLayoutChange, nullptr);
}

TDataSetState TDataSource::State() const {
    return dataSet_ && enabled_ ? dataSet_->State() : dsInactive;
}

void TDataSource::DataSetFreed() {
    dataSet_ = nullptr;
    NotifyLinks(deUpdateState, nullptr);
}

void TDataSource::DataEvent(TDataEvent Event, const TField* Info) {
    if (!enabled_) return;
    NotifyLinks(Event, Info);
}

void TDataSource::NotifyLinks(TDataEvent Event, const TField* Info) {
    if (Event == deUpdateState) {
        if (State() == state_) return;
        state_ = State();
    }
    // Every link is told even when a control raises (the first error follows afterwards), so
    // that none keeps a field that is going away. A link may leave the source while it is told
    // (its control freed, another source set).
    std::exception_ptr first;
    for (TDataLink* link : std::vector<TDataLink*>(links_)) {
        if (std::find(links_.begin(), links_.end(), link) == links_.end()) continue;
        try {
            link->DataEvent(Event, Info);
        } catch (...) {
            if (!first) first = std::current_exception();
        }
    }
    if (first) std::rethrow_exception(first);
    if (Event == deUpdateState && OnStateChange) OnStateChange(this);
    if ((Event == deFieldChange || Event == deRecordChange || Event == deDataSetChange ||
         Event == deDataSetScroll) &&
        OnDataChange)
        OnDataChange(this);
}

// ---- TDataLink ---------------------------------------------------------------------------

TDataLink::~TDataLink() {
    if (dataSource_) std::erase(dataSource_->links_, this);
}

void TDataLink::SetDataSource(TDataSource* Value) {
    if (Value == dataSource_) return;
    if (dataSource_) std::erase(dataSource_->links_, this);
    dataSource_ = Value;
    if (dataSource_) dataSource_->links_.push_back(this);
    UpdateState();
    LayoutChanged();
}

void TDataLink::SetReadOnly(bool Value) {
    if (Value == readOnly_) return;
    readOnly_ = Value;
    UpdateState();
}

TDataSet* TDataLink::DataSet() const {
    return dataSource_ ? dataSource_->DataSet() : nullptr;
}

void TDataLink::UpdateState() {
    const TDataSetState state = dataSource_ ? dataSource_->State() : dsInactive;
    const bool active = state != dsInactive;
    if (active != active_) {
        active_ = active;
        ActiveChanged();
    }
    SetEditing(active && (state == dsEdit || state == dsInsert) && !readOnly_);
}

void TDataLink::SetEditing(bool Value) {
    if (Value == editing_) return;
    editing_ = Value;
    EditingChanged();
}

bool TDataLink::Edit() {
    if (!readOnly_ && active_ && !editing_) DataSet()->Edit();
    return editing_;
}

void TDataLink::UpdateRecord() {
    if (updating_) return;
    updating_ = true;
    try {
        UpdateData();
    } catch (...) {
        updating_ = false;
        throw;
    }
    updating_ = false;
}

bool TDataLink::ExecuteAction(TBasicAction* Action) {
    if (!Action || !dataSource_ || !Action->HandlesTarget(dataSource_)) return false;
    Action->ExecuteTarget(dataSource_);
    return true;
}

bool TDataLink::UpdateAction(TBasicAction* Action) {
    if (!Action || !dataSource_ || !Action->HandlesTarget(dataSource_)) return false;
    Action->UpdateTarget(dataSource_);
    return true;
}

void TDataLink::DataEvent(TDataEvent Event, const TField* Info) {
    switch (Event) {
        case deUpdateState:
            UpdateState();
            break;
        case deFieldChange:
        case deRecordChange:
            // The control writing its own value must not be told to show it again.
            if (!updating_) RecordChanged(Info);
            break;
        case deDataSetChange:
            if (active_) DataSetChanged();
            break;
        case deDataSetScroll:
            if (active_) DataSetScrolled();
            break;
        case deLayoutChange:
            LayoutChanged();
            break;
        case deUpdateRecord:
            UpdateRecord();
            break;
        case deCheckBrowseMode:
            CheckBrowseMode();
            break;
    }
}

// ---- TFieldDataLink ----------------------------------------------------------------------

void TFieldDataLink::SetFieldName(const std::string& Value) {
    if (Value == fieldName_) return;
    if (Active() && !Value.empty()) DataSet()->FieldByName(Value);  // raises for an unknown name
    fieldName_ = Value;
    UpdateField();
}

bool TFieldDataLink::CanModify() const {
    return !ReadOnly() && field_ && field_->CanModify();
}

void TFieldDataLink::UpdateField() {
    TField* field = Active() && !fieldName_.empty() ? DataSet()->FindField(fieldName_) : nullptr;
    if (field == field_) return;
    field_ = field;
    EditingChanged();
    RecordChanged(nullptr);
}

void TFieldDataLink::ActiveChanged() {
    UpdateField();
    if (OnActiveChange) OnActiveChange(this);
}

void TFieldDataLink::EditingChanged() {
    if (OnEditingChange) OnEditingChange(this);
}

void TFieldDataLink::LayoutChanged() {
    UpdateField();
}

void TFieldDataLink::RecordChanged(const TField* Field) {
    if (Field && Field != field_) return;
    if (OnDataChange) OnDataChange(this);
    modified_ = false;
}

void TFieldDataLink::UpdateData() {
    if (!modified_) return;
    if (field_ && OnUpdateData) OnUpdateData(this);
    modified_ = false;
}

}  // namespace ribbon
