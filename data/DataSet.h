#pragma once
// Data sets over an SQLite database: a table or a read-only query, with a current record,
// navigation, the states inactive / browse / edit / insert, and fields by name.
//
// The records are read when the data set opens and kept in memory; scrolling only moves the
// current record and never writes. Post writes the edited record in one transaction, through a
// prepared statement keyed by the table's primary key (or its rowid when it has none), then
// reads the stored row back. When the database refuses (a constraint, a lock, a read-only
// file) the error carries its message, nothing is written, and the data set stays in edit or
// insert state with the values the user gave.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "../base/Export.h"
#include "../data/Database.h"

namespace ribbon {

class TDataSet;
class TDataSource;

enum TDataSetState : std::uint8_t { dsInactive, dsBrowse, dsEdit, dsInsert };

/// What a data set tells its data sources (and they their links).
enum TDataEvent : std::uint8_t {
    deFieldChange,      // one field's value changed (Info: the field)
    deRecordChange,     // the current record's values changed as a whole (Cancel)
    deDataSetChange,    // the records changed (open, post, insert, delete)
    deDataSetScroll,    // another record became current
    deLayoutChange,     // the fields changed
    deUpdateRecord,     // controls: write your values into the fields now
    deUpdateState,      // the state changed
    deCheckBrowseMode,  // the data set is about to leave edit or insert state
};

enum TFieldType : std::uint8_t { ftUnknown, ftString, ftInteger, ftFloat, ftBlob };

class RIBBON_API TField {
  public:
    TField(TDataSet& DataSet, int Index, std::string FieldName, TFieldType DataType);

    TDataSet& DataSet() const { return dataSet_; }
    int Index() const { return index_; }
    const std::string& FieldName() const { return fieldName_; }
    TFieldType DataType() const { return dataType_; }

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool Value) { readOnly_ = Value; }
    /// True when the field may be written: neither it nor its data set is read-only.
    bool CanModify() const;

    TDbValue Value() const;
    bool IsNull() const;
    std::string AsString() const;
    /// Edit text is the text a control shows and the user types: the value as text, empty for
    /// NULL. Written, it is converted to the field's type; empty text makes a number NULL.
    std::string EditText() const { return AsString(); }

    /// Writing needs the data set in edit or insert state and a modifiable field.
    void SetValue(const TDbValue& Value);
    void SetAsString(const std::string& Text);
    void SetEditText(const std::string& Text) { SetAsString(Text); }
    void Clear() { SetValue(std::monostate{}); }

  private:
    TDataSet& dataSet_;
    int index_;
    std::string fieldName_;
    TFieldType dataType_;
    bool readOnly_ = false;
};

/// Parameters of a query, by position (1, 2, ...) or by name (":sku", "@sku", "$sku").
class RIBBON_API TParams {
  public:
    void Set(int Index, TDbValue Value);
    void Set(const std::string& Name, TDbValue Value);
    void Clear() { byIndex_.clear(), byName_.clear(); }

    const std::vector<std::pair<int, TDbValue>>& ByIndex() const { return byIndex_; }
    const std::vector<std::pair<std::string, TDbValue>>& ByName() const { return byName_; }

  private:
    std::vector<std::pair<int, TDbValue>> byIndex_;
    std::vector<std::pair<std::string, TDbValue>> byName_;
};

class RIBBON_API TDataSet {
  public:
    explicit TDataSet(std::shared_ptr<TDatabase> Database);
    ~TDataSet();
    TDataSet(const TDataSet&) = delete;
    TDataSet& operator=(const TDataSet&) = delete;

    TDatabase& Database() const { return *db_; }

    /// What to open: a table (editable) or a query (read-only). Setting one clears the other;
    /// both need the data set closed.
    const std::string& TableName() const { return tableName_; }
    void SetTableName(const std::string& Name);
    const std::string& SQL() const { return sql_; }
    void SetSQL(const std::string& Sql);
    TParams& Params() { return params_; }

    void Open();
    void Close();
    bool Active() const { return state_ != dsInactive; }
    void SetActive(bool Value) { Value ? Open() : Close(); }
    TDataSetState State() const { return state_; }
    /// Reads the records again, keeping the current position where it can.
    void Refresh();

    /// Navigation. Bof is set by First and by moving back past the first record, Eof by Last
    /// and by moving on past the last; both hold for an empty data set. Leaving edit or insert
    /// state this way posts the record when it was modified and cancels it otherwise.
    void First();
    void Last();
    void Next() { MoveBy(1); }
    void Prior() { MoveBy(-1); }
    int MoveBy(int Distance);
    bool Bof() const { return bof_; }
    bool Eof() const { return eof_; }
    bool IsEmpty() const { return RecordCount() == 0; }
    int RecordCount() const;
    /// 1-based position of the current record; 0 when there is none or a new one is being
    /// inserted.
    int RecNo() const;
    void SetRecNo(int Value);

    /// Editing.
    bool CanModify() const;
    void Edit();
    void Insert();
    void Append();
    void Post();
    void Cancel();
    void Delete();
    /// Asks the controls to write their values (deUpdateRecord).
    void UpdateRecord();
    /// Posts or cancels a pending edit, as navigation does.
    void CheckBrowseMode();
    bool Modified() const { return modified_; }

    int FieldCount() const { return static_cast<int>(fields_.size()); }
    TField& Fields(int Index) const { return *fields_.at(static_cast<std::size_t>(Index)); }
    TField* FindField(const std::string& FieldName) const;
    /// Raises "Field '<name>' not found" for a name the data set does not have.
    TField& FieldByName(const std::string& FieldName) const;

  private:
    friend class TField;
    friend class TDataSource;

    struct TRecord {
        std::vector<TDbValue> Values;
        std::vector<TDbValue> Key;  // primary key or rowid, as read
    };

    void CheckActive() const;
    void CheckEditing() const;
    void ReadTableLayout();
    std::string SelectSql() const;
    std::vector<TRecord> ReadRecords(const std::string& WhereSql,
                                     const std::vector<TDbValue>& Args);
    const std::vector<TDbValue>& CurrentValues() const;
    void SetFieldValue(TField& Field, TDbValue Value);
    void BeginInsert(bool AtEnd);
    TRecord WriteUpdate();
    TRecord WriteInsert();
    std::vector<TDbValue> KeyOfInserted(std::int64_t Rowid) const;
    std::string KeyWhere() const;
    void SetState(TDataSetState Value);
    void DataEvent(TDataEvent Event, const TField* Info = nullptr);
    void AddDataSource(TDataSource* Source);
    void RemoveDataSource(TDataSource* Source);

    std::shared_ptr<TDatabase> db_;
    std::string tableName_;
    std::string sql_;
    TParams params_;

    TDataSetState state_ = dsInactive;
    std::vector<std::unique_ptr<TField>> fields_;
    std::vector<std::string> columns_;     // the table's column names, in field order
    std::vector<std::string> keyColumns_;  // primary key columns, or the rowid alias
    bool readOnlyData_ = true;

    std::vector<TRecord> records_;
    int current_ = -1;  // index into records_, or -1
    bool bof_ = true;
    bool eof_ = true;

    /// The record being edited or inserted, which fields the user set, where an insert goes.
    std::vector<TDbValue> buffer_;
    std::vector<bool> changed_;
    bool modified_ = false;
    int insertAt_ = 0;

    std::vector<TDataSource*> dataSources_;
};

}  // namespace ribbon
