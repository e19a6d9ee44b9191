#pragma once
// A connection to an SQLite database (a file, or ":memory:") and its prepared statements. Every
// failure raises EDatabaseError carrying SQLite's own message, so what the user reads is what
// the database said ("UNIQUE constraint failed: items.sku", "database is locked", ...).
//
// Values travel as TDbValue, the five storage classes of SQLite. Statements take their values
// through bound parameters only; nothing here pastes a value into SQL text.

#include <cstdint>
#include <string>
#include <variant>

#include "../base/Exceptions.h"
#include "../base/Export.h"

struct sqlite3;
struct sqlite3_stmt;

namespace ribbon {

/// Raised for anything the database or the data-set layer refuses.
class RIBBON_API EDatabaseError : public Exception {
  public:
    using Exception::Exception;
};

/// The bytes of a BLOB value (kept apart from text so that a round trip keeps the storage class).
struct TBlob {
    std::string Bytes;
    friend bool operator==(const TBlob&, const TBlob&) = default;
};

/// NULL, INTEGER, REAL, TEXT or BLOB.
using TDbValue = std::variant<std::monostate, std::int64_t, double, std::string, TBlob>;

inline bool IsNull(const TDbValue& Value) {
    return std::holds_alternative<std::monostate>(Value);
}
/// The value as text, formatted the way SQLite converts it (REAL with 15 significant digits);
/// NULL gives the empty string.
std::string DbValueToText(const TDbValue& Value);

/// An identifier quoted for SQL ("my ""odd"" name"), for table and column names, which SQL
/// cannot take as parameters.
std::string QuoteIdentifier(const std::string& Name);

enum class TOpenMode : std::uint8_t {
    ReadWrite,  // an existing database; read-only if the file is
    ReadOnly,   // an existing database, never written
    Create,     // created when missing
};

class RIBBON_API TDatabase {
  public:
    explicit TDatabase(const std::string& FileName, TOpenMode Mode = TOpenMode::ReadWrite);
    ~TDatabase();
    TDatabase(const TDatabase&) = delete;
    TDatabase& operator=(const TDatabase&) = delete;

    const std::string& FileName() const { return fileName_; }
    sqlite3* Handle() const { return db_; }

    /// How long a statement waits for another connection's lock before "database is locked".
    void SetBusyTimeout(int Milliseconds);

    /// Runs SQL text without parameters (schema, transaction control).
    void Execute(const std::string& Sql);

    /// Raises EDatabaseError with the connection's current message.
    [[noreturn]] void RaiseError() const;

  private:
    std::string fileName_;
    sqlite3* db_ = nullptr;
};

/// One prepared statement. Parameters are numbered from 1; columns from 0.
class RIBBON_API TStatement {
  public:
    TStatement(TDatabase& Database, const std::string& Sql);
    ~TStatement();
    TStatement(const TStatement&) = delete;
    TStatement& operator=(const TStatement&) = delete;

    int ParamCount() const;
    /// "?NNN", ":name", "@name" or "$name" as written; empty for a plain "?".
    std::string ParamName(int Index) const;
    void Bind(int Index, const TDbValue& Value);

    /// Advances to the next row; false when the statement has finished.
    bool Step();
    void Reset();

    int ColumnCount() const;
    std::string ColumnName(int Column) const;
    std::string ColumnDeclType(int Column) const;
    TDbValue Column(int Column) const;

    /// True when the statement cannot change the database.
    bool IsReadOnly() const;

  private:
    TDatabase& db_;
    sqlite3_stmt* stmt_ = nullptr;
};

/// BEGIN IMMEDIATE on construction (so a competing writer is refused before anything is
/// written), ROLLBACK on destruction unless Commit ran: an exception anywhere in between leaves
/// the database as it was.
class RIBBON_API TTransaction {
  public:
    explicit TTransaction(TDatabase& Database);
    ~TTransaction();
    TTransaction(const TTransaction&) = delete;
    TTransaction& operator=(const TTransaction&) = delete;

    void Commit();

  private:
    TDatabase& db_;
    bool open_ = false;
};

}  // namespace ribbon
