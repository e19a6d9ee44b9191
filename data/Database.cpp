#include "data/Database.h"

#include <sqlite3.h>

#include <memory>

namespace ribbon {

std::string DbValueToText(const TDbValue& Value) {
    struct Visitor {
        std::string operator()(std::monostate) const { return {}; }
        std::string operator()(std::int64_t v) const { return std::to_string(v); }
        std::string operator()(double v) const {
            // SQLite's own conversion, so the text matches what the database would give.
            std::unique_ptr<char, decltype(&sqlite3_free)> text(sqlite3_mprintf("%!.15g", v),
                                                                sqlite3_free);
            return text ? std::string(text.get()) : std::string();
        }
        std::string operator()(const std::string& v) const { return v; }
        std::string operator()(const TBlob& v) const { return v.Bytes; }
    };
    return std::visit(Visitor{}, Value);
}

std::string QuoteIdentifier(const std::string& Name) {
    std::string quoted = "\"";
    for (char c : Name) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

TDatabase::TDatabase(const std::string& FileName, TOpenMode Mode) : fileName_(FileName) {
    int flags = SQLITE_OPEN_READWRITE;
    if (Mode == TOpenMode::ReadOnly) flags = SQLITE_OPEN_READONLY;
    if (Mode == TOpenMode::Create) flags |= SQLITE_OPEN_CREATE;
    // URIs stay off: a file name is a file name, whatever characters it holds.
    const int rc = sqlite3_open_v2(FileName.c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        db_ = nullptr;
        throw EDatabaseError(FileName + ": " + message);
    }
    sqlite3_extended_result_codes(db_, 1);
}

TDatabase::~TDatabase() {
    sqlite3_close_v2(db_);
}

void TDatabase::SetBusyTimeout(int Milliseconds) {
    sqlite3_busy_timeout(db_, Milliseconds);
}

void TDatabase::Execute(const std::string& Sql) {
    if (sqlite3_exec(db_, Sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) RaiseError();
}

void TDatabase::RaiseError() const {
    throw EDatabaseError(sqlite3_errmsg(db_));
}

TStatement::TStatement(TDatabase& Database, const std::string& Sql) : db_(Database) {
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db_.Handle(), Sql.c_str(), static_cast<int>(Sql.size()), &stmt_,
                           &tail) != SQLITE_OK)
        db_.RaiseError();
    if (!stmt_) throw EDatabaseError("The SQL text holds no statement");
    for (const char* p = tail; p && p < Sql.data() + Sql.size(); ++p) {
        if (*p != ' ' && *p != '\t' && *p != '\n' && *p != '\r' && *p != ';') {
            sqlite3_finalize(stmt_);
            throw EDatabaseError("The SQL text holds more than one statement");
        }
    }
}

TStatement::~TStatement() {
    sqlite3_finalize(stmt_);
}

int TStatement::ParamCount() const {
    return sqlite3_bind_parameter_count(stmt_);
}

std::string TStatement::ParamName(int Index) const {
    const char* name = sqlite3_bind_parameter_name(stmt_, Index);
    return name ? name : "";
}

void TStatement::Bind(int Index, const TDbValue& Value) {
    struct Visitor {
        sqlite3_stmt* s;
        int i;
        int operator()(std::monostate) const { return sqlite3_bind_null(s, i); }
        int operator()(std::int64_t v) const { return sqlite3_bind_int64(s, i, v); }
        int operator()(double v) const { return sqlite3_bind_double(s, i, v); }
        int operator()(const std::string& v) const {
            return sqlite3_bind_text64(s, i, v.data(), v.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
        }
        int operator()(const TBlob& v) const {
            return sqlite3_bind_blob64(s, i, v.Bytes.data(), v.Bytes.size(), SQLITE_TRANSIENT);
        }
    };
    if (std::visit(Visitor{stmt_, Index}, Value) != SQLITE_OK) db_.RaiseError();
}

bool TStatement::Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    // The statement's own error (a constraint, a lock) is the connection's current message.
    std::string message = sqlite3_errmsg(db_.Handle());
    sqlite3_reset(stmt_);
    throw EDatabaseError(message);
}

void TStatement::Reset() {
    sqlite3_reset(stmt_);
}

int TStatement::ColumnCount() const {
    return sqlite3_column_count(stmt_);
}

std::string TStatement::ColumnName(int Column) const {
    const char* name = sqlite3_column_name(stmt_, Column);
    return name ? name : "";
}

std::string TStatement::ColumnDeclType(int Column) const {
    const char* type = sqlite3_column_decltype(stmt_, Column);
    return type ? type : "";
}

TDbValue TStatement::Column(int Column) const {
    switch (sqlite3_column_type(stmt_, Column)) {
        case SQLITE_INTEGER:
            return std::int64_t{sqlite3_column_int64(stmt_, Column)};
        case SQLITE_FLOAT:
            return sqlite3_column_double(stmt_, Column);
        case SQLITE_TEXT: {
            const auto* text = sqlite3_column_text(stmt_, Column);
            return std::string(reinterpret_cast<const char*>(text),
                               static_cast<std::size_t>(sqlite3_column_bytes(stmt_, Column)));
        }
        case SQLITE_BLOB: {
            const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt_, Column));
            const auto size = static_cast<std::size_t>(sqlite3_column_bytes(stmt_, Column));
            return TBlob{bytes ? std::string(bytes, size) : std::string()};
        }
        default:
            return std::monostate{};
    }
}

bool TStatement::IsReadOnly() const {
    return sqlite3_stmt_readonly(stmt_) != 0;
}

TTransaction::TTransaction(TDatabase& Database) : db_(Database) {
    db_.Execute("BEGIN IMMEDIATE");
    open_ = true;
}

TTransaction::~TTransaction() {
    if (open_) sqlite3_exec(db_.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void TTransaction::Commit() {
    db_.Execute("COMMIT");
    open_ = false;
}

}  // namespace ribbon
