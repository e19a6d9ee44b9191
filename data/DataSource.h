#pragma once
// The data-aware plumbing between a data set and its controls: a TDataSource component that a
// form owns, and data links through which controls hear of the data set's changes.
//
// The data set tells its data sources every event (TDataEvent); each source passes it to its
// links while it is enabled. A link turns the events into the calls a control needs: "the
// value to show changed" and "write your value into the field now". Destroying a data source
// detaches its links and sends its free notification, so no control keeps a stale pointer.

#include <vector>

#include "../base/Export.h"
#include "../data/DataSet.h"
#include "../framework/Action.h"
#include "../framework/Component.h"

namespace ribbon {

class TDataLink;

class RIBBON_API TDataSource : public TComponent {
  public:
    explicit TDataSource(TComponent* Owner = nullptr);
    ~TDataSource() override;

    TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TDataSet* Value);
    /// A disabled source shows its links an inactive data set.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value);
    /// The data set's state; dsInactive without a data set or while disabled.
    TDataSetState State() const;

    TNotifyEvent OnStateChange;
    TNotifyEvent OnDataChange;  // Sender: the source; after the record or a field changed

  private:
    friend class TDataSet;
    friend class TDataLink;

    void DataEvent(TDataEvent Event, const TField* Info);
    void DataSetFreed();
    void NotifyLinks(TDataEvent Event, const TField* Info);

    TDataSet* dataSet_ = nullptr;
    bool enabled_ = true;
    TDataSetState state_ = dsInactive;
    std::vector<TDataLink*> links_;
};

/// A link's view of a data source; derived links override the hooks.
class RIBBON_API TDataLink : public TObject {
  public:
    TDataLink() = default;
    ~TDataLink() override;
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;

    TDataSource* DataSource() const { return dataSource_; }
    void SetDataSource(TDataSource* Value);
    /// A fixed data source is the one its control was built with; a form file does not replace
    /// it while loading.
    bool DataSourceFixed() const { return dataSourceFixed_; }
    void SetDataSourceFixed(bool Value) { dataSourceFixed_ = Value; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool Value);

    TDataSet* DataSet() const;
    bool Active() const { return active_; }
    bool Editing() const { return editing_; }

    /// Puts the data set into edit state unless the link is read-only; true when editing.
    bool Edit();
    /// Asks the control for its value (UpdateData), once, however often it is called back.
    void UpdateRecord();

    /// Lets an action work on the link's data source: true when the action took it as target.
    virtual bool ExecuteAction(TBasicAction* Action);
    virtual bool UpdateAction(TBasicAction* Action);

  protected:
    virtual void ActiveChanged() {}
    virtual void EditingChanged() {}
    virtual void DataSetChanged() { RecordChanged(nullptr); }
    virtual void DataSetScrolled() { DataSetChanged(); }
    virtual void LayoutChanged() { DataSetChanged(); }
    /// Field is the field whose value changed, or nullptr when the whole record did.
    virtual void RecordChanged(const TField* /*Field*/) {}
    virtual void UpdateData() {}
    virtual void CheckBrowseMode() {}
    void UpdateState();

  private:
    friend class TDataSource;
    void DataEvent(TDataEvent Event, const TField* Info);
    void SetEditing(bool Value);

    TDataSource* dataSource_ = nullptr;
    bool dataSourceFixed_ = false;
    bool readOnly_ = false;
    bool active_ = false;
    bool editing_ = false;
    bool updating_ = false;
};

/// The link of a control that shows and edits one field.
class RIBBON_API TFieldDataLink : public TDataLink {
  public:
    /// The control the link serves (the Sender it reports is the link itself).
    TComponent* Control() const { return control_; }
    void SetControl(TComponent* Value) { control_ = Value; }

    const std::string& FieldName() const { return fieldName_; }
    /// With an open data set, a name it does not have raises "Field '<name>' not found".
    void SetFieldName(const std::string& Value);
    /// The field resolved from the data source and the field name; nullptr while there is none.
    TField* Field() const { return field_; }
    /// A field to write to, neither it nor the link read-only.
    bool CanModify() const;
    /// The control's value differs from the field's: UpdateData will be asked for on posting.
    void Modified() { modified_ = true; }
    /// Shows the field's value again, dropping the control's own.
    void Reset() { RecordChanged(nullptr); }

    TNotifyEvent OnDataChange;
    TNotifyEvent OnEditingChange;
    TNotifyEvent OnUpdateData;
    TNotifyEvent OnActiveChange;

  protected:
    void ActiveChanged() override;
    void EditingChanged() override;
    void LayoutChanged() override;
    void RecordChanged(const TField* Field) override;
    void UpdateData() override;

  private:
    void UpdateField();

    TComponent* control_ = nullptr;
    std::string fieldName_;
    TField* field_ = nullptr;
    bool modified_ = false;
};

}  // namespace ribbon
