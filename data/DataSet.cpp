#include "data/DataSet.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <exception>

#include "base/Format.h"
#include "data/DataSource.h"

namespace ribbon {

namespace {

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The declared type's affinity, by SQLite's own rules.
TFieldType TypeOfDeclaration(const std::string& Declared) {
    const std::string t = Upper(Declared);
    auto has = [&](const char* part) { return t.find(part) != std::string::npos; };
    if (has("INT")) return ftInteger;
    if (has("CHAR") || has("CLOB") || has("TEXT")) return ftString;
    if (has("BLOB")) return ftBlob;
    if (has("REAL") || has("FLOA") || has("DOUB")) return ftFloat;
    return ftUnknown;
}

TDbValue IntegerFromText(const std::string& Text) {
    const char* first = Text.data();
    const char* last = first + Text.size();
    if (first != last && *first == '+') ++first;
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last)
        throw EConvertError(Format("'%s' is not a valid integer value", Text));
    return value;
}

TDbValue FloatFromText(const std::string& Text) {
    char* end = nullptr;
    const double value = std::strtod(Text.c_str(), &end);
    if (Text.empty() || std::isspace(static_cast<unsigned char>(Text.front())) ||
        end != Text.c_str() + Text.size() || !std::isfinite(value))
        throw EConvertError(Format("'%s' is not a valid floating point value", Text));
    return value;
}

bool SameName(const std::string& a, const std::string& b) {
    return Upper(a) == Upper(b);
}

}  // namespace

// ---- TField ------------------------------------------------------------------------------

TField::TField(TDataSet& DataSet, int Index, std::string FieldName, TFieldType DataType)
    : dataSet_(DataSet), index_(Index), fieldName_(std::move(FieldName)), dataType_(DataType) {}

bool TField::CanModify() const {
    return !readOnly_ && dataSet_.CanModify();
}

TDbValue TField::Value() const {
    return dataSet_.CurrentValues().at(static_cast<std::size_t>(index_));
}

bool TField::IsNull() const {
    return ribbon::IsNull(Value());
}

std::string TField::AsString() const {
    return DbValueToText(Value());
}

void TField::SetValue(const TDbValue& Value) {
    dataSet_.SetFieldValue(*this, Value);
}

void TField::SetAsString(const std::string& Text) {
    switch (dataType_) {
        case ftInteger:
            SetValue(Text.empty() ? TDbValue{} : IntegerFromText(Text));
            break;
        case ftFloat:
            SetValue(Text.empty() ? TDbValue{} : FloatFromText(Text));
            break;
        case ftBlob:
            SetValue(TBlob{Text});
            break;
        default:
            SetValue(Text);
    }
}

// ---- TParams -----------------------------------------------------------------------------

void TParams::Set(int Index, TDbValue Value) {
    for (auto& [i, v] : byIndex_)
        if (i == Index) return void(v = std::move(Value));
    byIndex_.emplace_back(Index, std::move(Value));
}

void TParams::Set(const std::string& Name, TDbValue Value) {
    for (auto& [n, v] : byName_)
        if (n == Name) return void(v = std::move(Value));
    byName_.emplace_back(Name, std::move(Value));
}

// ---- TDataSet: opening -------------------------------------------------------------------

TDataSet::TDataSet(std::shared_ptr<TDatabase> Database) : db_(std::move(Database)) {
    if (!db_) throw EDatabaseError("A data set needs a database");
}

TDataSet::~TDataSet() {
    try {
        Close();
    } catch (...) {
        // A control refusing to show "nothing" cannot stop the data set from going.
    }
    for (TDataSource* source : std::vector<TDataSource*>(dataSources_)) {
        try {
            source->DataSetFreed();
        } catch (...) {
        }
    }
}

void TDataSet::SetTableName(const std::string& Name) {
    if (Active()) throw EDatabaseError("Cannot perform this operation on an open dataset");
    tableName_ = Name;
    sql_.clear();
}

void TDataSet::SetSQL(const std::string& Sql) {
    if (Active()) throw EDatabaseError("Cannot perform this operation on an open dataset");
    sql_ = Sql;
    tableName_.clear();
}

void TDataSet::ReadTableLayout() {
    // Which kind of object the name is, and whether its rows have a rowid.
    std::string kind;
    bool withoutRowid = false;
    {
        TStatement list(*db_, "SELECT type, wr FROM pragma_table_list(?1)");
        list.Bind(1, tableName_);
        if (!list.Step()) throw EDatabaseError(Format("Table '%s' not found", tableName_));
        kind = DbValueToText(list.Column(0));
        withoutRowid = DbValueToText(list.Column(1)) == "1";
    }
    TStatement info(*db_, "SELECT name, type, pk, hidden FROM pragma_table_xinfo(?1) ORDER BY cid");
    info.Bind(1, tableName_);
    std::vector<std::pair<std::int64_t, std::string>> primaryKey;
    while (info.Step()) {
        const std::int64_t hidden = std::get<std::int64_t>(info.Column(3));
        if (hidden == 1) continue;  // a virtual table's hidden column
        const std::string name = DbValueToText(info.Column(0));
        auto field = std::make_unique<TField>(*this, FieldCount(), name,
                                              TypeOfDeclaration(DbValueToText(info.Column(1))));
        field->SetReadOnly(hidden != 0);  // generated columns are computed, never written
        fields_.push_back(std::move(field));
        columns_.push_back(name);
        if (const auto pk = std::get<std::int64_t>(info.Column(2)); pk > 0)
            primaryKey.emplace_back(pk, name);
    }
    keyColumns_.clear();
    readOnlyData_ = true;
    if (kind != "table") return;  // views and virtual tables are shown, not written
    if (withoutRowid) {
        std::sort(primaryKey.begin(), primaryKey.end());
        for (const auto& [order, name] : primaryKey) keyColumns_.push_back(QuoteIdentifier(name));
    } else {
        // The rowid survives edits of any column; take a spelling no real column has taken.
        for (const char* alias : {"rowid", "_rowid_", "oid"}) {
            if (std::none_of(columns_.begin(), columns_.end(),
                             [&](const std::string& c) { return SameName(c, alias); })) {
                keyColumns_.push_back(alias);
                break;
            }
        }
    }
    readOnlyData_ = keyColumns_.empty();
}

std::string TDataSet::SelectSql() const {
    std::string sql = "SELECT ";
    for (const std::string& key : keyColumns_) sql += key + ", ";
    for (std::size_t i = 0; i < columns_.size(); ++i)
        sql += (i ? ", " : "") + QuoteIdentifier(columns_[i]);
    return sql + " FROM " + QuoteIdentifier(tableName_);
}

std::string TDataSet::KeyWhere() const {
    std::string where;
    for (std::size_t i = 0; i < keyColumns_.size(); ++i)
        where += (i ? " AND " : " WHERE ") + keyColumns_[i] + " IS ?";
    return where;
}

std::vector<TDataSet::TRecord> TDataSet::ReadRecords(const std::string& WhereSql,
                                                     const std::vector<TDbValue>& Args) {
    std::vector<TRecord> records;
    if (!tableName_.empty()) {
        std::string sql = SelectSql() + WhereSql;
        if (WhereSql.empty() && !keyColumns_.empty()) {
            sql += " ORDER BY ";
            for (std::size_t i = 0; i < keyColumns_.size(); ++i)
                sql += (i ? ", " : "") + keyColumns_[i];
        }
        TStatement select(*db_, sql);
        for (std::size_t i = 0; i < Args.size(); ++i) select.Bind(static_cast<int>(i) + 1, Args[i]);
        const std::size_t keys = keyColumns_.size();
        while (select.Step()) {
            TRecord record;
            for (std::size_t k = 0; k < keys; ++k)
                record.Key.push_back(select.Column(static_cast<int>(k)));
            for (std::size_t c = 0; c < columns_.size(); ++c)
                record.Values.push_back(select.Column(static_cast<int>(keys + c)));
            records.push_back(std::move(record));
        }
        return records;
    }

    TStatement query(*db_, sql_);
    // A data set only reads: a statement that would change the database is refused before it
    // runs, so a query given to the labels job can never delete or update rows.
    if (!query.IsReadOnly()) throw EDatabaseError("A query must only read the database");
    if (query.ColumnCount() == 0) throw EDatabaseError("The query returns no columns");
    for (const auto& [index, value] : params_.ByIndex()) {
        if (index < 1 || index > query.ParamCount())
            throw EDatabaseError(Format("Parameter %d not found", index));
        query.Bind(index, value);
    }
    for (const auto& [name, value] : params_.ByName()) {
        int found = 0;
        for (int i = 1; i <= query.ParamCount(); ++i)
            if (query.ParamName(i) == name) found = i;
        if (!found) throw EDatabaseError(Format("Parameter '%s' not found", name));
        query.Bind(found, value);
    }
    if (fields_.empty()) {
        for (int c = 0; c < query.ColumnCount(); ++c) {
            auto field = std::make_unique<TField>(*this, c, query.ColumnName(c),
                                                  TypeOfDeclaration(query.ColumnDeclType(c)));
            field->SetReadOnly(true);
            fields_.push_back(std::move(field));
        }
    }
    while (query.Step()) {
        TRecord record;
        for (int c = 0; c < query.ColumnCount(); ++c) record.Values.push_back(query.Column(c));
        records.push_back(std::move(record));
    }
    return records;
}

void TDataSet::Open() {
    if (Active()) return;
    if (tableName_.empty() && sql_.empty())
        throw EDatabaseError("No table name or SQL given to open");
    try {
        if (!tableName_.empty()) ReadTableLayout();
        records_ = ReadRecords("", {});
    } catch (...) {
        fields_.clear();
        columns_.clear();
        keyColumns_.clear();
        records_.clear();
        throw;
    }
    current_ = records_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = records_.empty();
    SetState(dsBrowse);
}

void TDataSet::Close() {
    if (!Active()) return;
    // Unposted changes are dropped, as with Cancel; controls let go of the fields before the
    // fields go.
    buffer_.clear();
    changed_.clear();
    modified_ = false;
    std::exception_ptr error;
    try {
        SetState(dsInactive);
    } catch (...) {
        error = std::current_exception();  // every link has still let go of its field
    }
    fields_.clear();
    columns_.clear();
    keyColumns_.clear();
    records_.clear();
    current_ = -1;
    bof_ = eof_ = true;
    if (error) std::rethrow_exception(error);
}

void TDataSet::Refresh() {
    CheckBrowseMode();
    records_ = ReadRecords("", {});
    current_ = std::min(current_, static_cast<int>(records_.size()) - 1);
    if (current_ < 0 && !records_.empty()) current_ = 0;
    bof_ = current_ <= 0;
    eof_ = records_.empty();
    DataEvent(deDataSetChange);
}

// ---- navigation --------------------------------------------------------------------------

void TDataSet::CheckActive() const {
    if (!Active()) throw EDatabaseError("Cannot perform this operation on a closed dataset");
}

int TDataSet::RecordCount() const {
    CheckActive();
    return static_cast<int>(records_.size());
}

int TDataSet::RecNo() const {
    CheckActive();
    return state_ == dsInsert ? 0 : current_ + 1;
}

void TDataSet::SetRecNo(int Value) {
    CheckBrowseMode();
    if (records_.empty()) return;
    const int target = std::clamp(Value, 1, static_cast<int>(records_.size())) - 1;
    bof_ = eof_ = false;
    if (target == current_) return;
    current_ = target;
    DataEvent(deDataSetScroll);
}

void TDataSet::First() {
    CheckBrowseMode();
    const int before = current_;
    current_ = records_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = records_.empty();
    if (current_ != before) DataEvent(deDataSetScroll);
}

void TDataSet::Last() {
    CheckBrowseMode();
    const int before = current_;
    current_ = static_cast<int>(records_.size()) - 1;
    eof_ = true;
    bof_ = records_.empty();
    if (current_ != before) DataEvent(deDataSetScroll);
}

int TDataSet::MoveBy(int Distance) {
    CheckBrowseMode();
    if (Distance == 0 || records_.empty()) return 0;
    const long long last = static_cast<long long>(records_.size()) - 1;
    const long long wanted = static_cast<long long>(current_) + Distance;
    const int target = static_cast<int>(std::clamp(wanted, 0LL, last));
    if (Distance > 0) {
        bof_ = false;
        eof_ = wanted > last;
    } else {
        eof_ = false;
        bof_ = wanted < 0;
    }
    const int moved = target - current_;
    current_ = target;
    if (moved != 0) DataEvent(deDataSetScroll);
    return moved;
}

// ---- editing -----------------------------------------------------------------------------

bool TDataSet::CanModify() const {
    return Active() && !readOnlyData_;
}

void TDataSet::CheckEditing() const {
    if (state_ != dsEdit && state_ != dsInsert)
        throw EDatabaseError("Dataset not in edit or insert mode");
}

const std::vector<TDbValue>& TDataSet::CurrentValues() const {
    if (state_ == dsEdit || state_ == dsInsert) return buffer_;
    if (current_ < 0) {
        if (state_ == dsInactive)
            throw EDatabaseError("Cannot perform this operation on a closed dataset");
        // An empty data set reads as a record of NULLs.
        static thread_local std::vector<TDbValue> nulls;
        nulls.assign(fields_.size(), TDbValue{});
        return nulls;
    }
    return records_[static_cast<std::size_t>(current_)].Values;
}

void TDataSet::SetFieldValue(TField& Field, TDbValue Value) {
    CheckEditing();
    if (!Field.CanModify())
        throw EDatabaseError(Format("Field '%s' cannot be modified", Field.FieldName()));
    const auto index = static_cast<std::size_t>(Field.Index());
    buffer_[index] = std::move(Value);
    changed_[index] = true;
    modified_ = true;
    DataEvent(deFieldChange, &Field);
}

void TDataSet::Edit() {
    CheckActive();
    if (state_ == dsEdit || state_ == dsInsert) return;
    if (records_.empty()) return Insert();
    if (!CanModify()) throw EDatabaseError("Cannot modify a read-only dataset");
    buffer_ = records_[static_cast<std::size_t>(current_)].Values;
    changed_.assign(fields_.size(), false);
    modified_ = false;
    SetState(dsEdit);
    DataEvent(deRecordChange);
}

void TDataSet::BeginInsert(bool AtEnd) {
    CheckBrowseMode();
    if (!CanModify()) throw EDatabaseError("Cannot modify a read-only dataset");
    buffer_.assign(fields_.size(), TDbValue{});
    changed_.assign(fields_.size(), false);
    modified_ = false;
    insertAt_ = AtEnd || current_ < 0 ? static_cast<int>(records_.size()) : current_;
    eof_ = bof_ = false;
    SetState(dsInsert);
    DataEvent(deDataSetChange);
}

void TDataSet::Insert() {
    BeginInsert(false);
}

void TDataSet::Append() {
    BeginInsert(true);
}

TDataSet::TRecord TDataSet::WriteUpdate() {
    const TRecord& stored = records_[static_cast<std::size_t>(current_)];
    std::string sql = "UPDATE " + QuoteIdentifier(tableName_) + " SET ";
    std::vector<TDbValue> args;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (!changed_[i]) continue;
        sql += (args.empty() ? "" : ", ") + QuoteIdentifier(columns_[i]) + " = ?";
        args.push_back(buffer_[i]);
    }
    sql += KeyWhere();
    args.insert(args.end(), stored.Key.begin(), stored.Key.end());

    TTransaction transaction(*db_);
    TStatement update(*db_, sql);
    for (std::size_t i = 0; i < args.size(); ++i) update.Bind(static_cast<int>(i) + 1, args[i]);
    update.Step();
    if (sqlite3_changes(db_->Handle()) != 1)
        throw EDatabaseError("Record not found or changed by another user");
    // Read the row back as stored (type affinity, defaults, triggers). A WITHOUT ROWID table
    // finds it under its new key.
    std::vector<TDbValue> key = stored.Key;
    for (std::size_t k = 0; k < keyColumns_.size(); ++k) {
        for (std::size_t i = 0; i < columns_.size(); ++i)
            if (changed_[i] && QuoteIdentifier(columns_[i]) == keyColumns_[k]) key[k] = buffer_[i];
    }
    auto rows = ReadRecords(KeyWhere(), key);
    if (rows.size() != 1) throw EDatabaseError("Record not found or changed by another user");
    transaction.Commit();
    return std::move(rows.front());
}

TDataSet::TRecord TDataSet::WriteInsert() {
    std::string names, marks;
    std::vector<TDbValue> args;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (!changed_[i]) continue;  // untouched columns take their defaults
        names += (args.empty() ? "" : ", ") + QuoteIdentifier(columns_[i]);
        marks += args.empty() ? "?" : ", ?";
        args.push_back(buffer_[i]);
    }
    const std::string sql =
        "INSERT INTO " + QuoteIdentifier(tableName_) +
        (args.empty() ? " DEFAULT VALUES" : " (" + names + ") VALUES (" + marks + ")");

    TTransaction transaction(*db_);
    TStatement insert(*db_, sql);
    for (std::size_t i = 0; i < args.size(); ++i) insert.Bind(static_cast<int>(i) + 1, args[i]);
    insert.Step();
    std::vector<TDbValue> key;
    const bool byRowid = keyColumns_.size() == 1 && keyColumns_.front().front() != '"';
    if (byRowid) {
        key.push_back(std::int64_t{sqlite3_last_insert_rowid(db_->Handle())});
    } else {
        for (const std::string& k : keyColumns_)
            for (std::size_t i = 0; i < columns_.size(); ++i)
                if (QuoteIdentifier(columns_[i]) == k) key.push_back(buffer_[i]);
    }
    auto rows = ReadRecords(KeyWhere(), key);
    if (rows.size() != 1) throw EDatabaseError("The inserted record cannot be read back");
    transaction.Commit();
    return std::move(rows.front());
}

void TDataSet::Post() {
    CheckActive();
    if (state_ != dsEdit && state_ != dsInsert) return;
    UpdateRecord();
    // Any failure below leaves state, buffer and the database as they were.
    if (state_ == dsEdit) {
        if (std::find(changed_.begin(), changed_.end(), true) != changed_.end())
            records_[static_cast<std::size_t>(current_)] = WriteUpdate();
    } else {
        TRecord record = WriteInsert();
        records_.insert(records_.begin() + insertAt_, std::move(record));
        current_ = insertAt_;
    }
    buffer_.clear();
    changed_.clear();
    modified_ = false;
    SetState(dsBrowse);
    DataEvent(deDataSetChange);
}

void TDataSet::Cancel() {
    CheckActive();
    if (state_ != dsEdit && state_ != dsInsert) return;
    buffer_.clear();
    changed_.clear();
    modified_ = false;
    bof_ = current_ <= 0;
    eof_ = records_.empty();
    SetState(dsBrowse);
    DataEvent(deDataSetChange);
}

void TDataSet::Delete() {
    CheckActive();
    if (state_ == dsInsert) return Cancel();
    if (records_.empty()) throw EDatabaseError("Cannot perform this operation on an empty dataset");
    if (!CanModify()) throw EDatabaseError("Cannot modify a read-only dataset");
    {
        TTransaction transaction(*db_);
        TStatement remove(*db_, "DELETE FROM " + QuoteIdentifier(tableName_) + KeyWhere());
        const auto& key = records_[static_cast<std::size_t>(current_)].Key;
        for (std::size_t i = 0; i < key.size(); ++i) remove.Bind(static_cast<int>(i) + 1, key[i]);
        remove.Step();
        if (sqlite3_changes(db_->Handle()) != 1)
            throw EDatabaseError("Record not found or changed by another user");
        transaction.Commit();
    }
    if (state_ == dsEdit) {
        buffer_.clear();
        changed_.clear();
        modified_ = false;
        SetState(dsBrowse);
    }
    records_.erase(records_.begin() + current_);
    current_ = std::min(current_, static_cast<int>(records_.size()) - 1);
    bof_ = current_ <= 0;
    eof_ = records_.empty();
    DataEvent(deDataSetChange);
}

void TDataSet::UpdateRecord() {
    CheckEditing();
    DataEvent(deUpdateRecord);
}

void TDataSet::CheckBrowseMode() {
    CheckActive();
    DataEvent(deCheckBrowseMode);
    if (state_ == dsEdit || state_ == dsInsert) {
        UpdateRecord();
        if (modified_)
            Post();
        else
            Cancel();
    }
}

// ---- fields and notifications -----------------------------------------------------------

TField* TDataSet::FindField(const std::string& FieldName) const {
    for (const auto& field : fields_)
        if (SameName(field->FieldName(), FieldName)) return field.get();
    return nullptr;
}

TField& TDataSet::FieldByName(const std::string& FieldName) const {
    if (TField* field = FindField(FieldName)) return *field;
    throw EDatabaseError(Format("Field '%s' not found", FieldName));
}

void TDataSet::SetState(TDataSetState Value) {
    if (state_ == Value) return;
    state_ = Value;
    DataEvent(deUpdateState);
}

void TDataSet::DataEvent(TDataEvent Event, const TField* Info) {
    // Every source hears of the event even when a control raises on the way (so none keeps a
    // field that is about to go); the first error is passed on afterwards. A source may detach
    // itself while being told.
    std::exception_ptr first;
    for (TDataSource* source : std::vector<TDataSource*>(dataSources_)) {
        if (std::find(dataSources_.begin(), dataSources_.end(), source) == dataSources_.end())
            continue;
        try {
            source->DataEvent(Event, Info);
        } catch (...) {
            if (!first) first = std::current_exception();
        }
    }
    if (first) std::rethrow_exception(first);
}

void TDataSet::AddDataSource(TDataSource* Source) {
    if (std::find(dataSources_.begin(), dataSources_.end(), Source) == dataSources_.end())
        dataSources_.push_back(Source);
}

void TDataSet::RemoveDataSource(TDataSource* Source) {
    std::erase(dataSources_, Source);
}

}  // namespace ribbon
