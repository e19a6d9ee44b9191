#pragma once
// TTableSource: a data source over one table of an SQLite file, with the file and the table as
// its settings. A form file describes it as an object of its own,
//
//   object DataSource1: TTableSource
//     DatabaseName = 'stock.db'
//     TableName = 'items'
//     RecNo = 2
//   end
//
// so that a program holding only the file (the designer, `ribbon control --form`) can bind the
// data-aware controls again, at the record they showed. The file is opened read-only: a form
// shows data, it never writes it.

#include <memory>
#include <string>

#include "data/DataSource.h"

namespace ribbon {

class TTableSource : public TDataSource {
  public:
    explicit TTableSource(TComponent* Owner = nullptr);
    ~TTableSource() override;

    // The file as the form names it, and its table. Setting either closes the table.
    const std::string& DatabaseName() const { return databaseName_; }
    void SetDatabaseName(const std::string& Value);
    const std::string& TableName() const { return tableName_; }
    void SetTableName(const std::string& Value);
    // The current record, 1-based (0 for an empty table). While closed it is where the next
    // Open goes (the last record when the table has fewer), by default the first.
    int RecNo() const;
    void SetRecNo(int Value);

    // Opens the table at RecNo; a relative DatabaseName is taken from Folder. Raises
    // EDatabaseError, and stays closed, when the file or the table cannot be opened.
    void Open(const std::string& Folder = {});
    void Close();
    bool Active() const { return data_ != nullptr; }
    // The path the open file was found under.
    std::string FileName() const;

  private:
    std::string databaseName_;
    std::string tableName_;
    int recNo_ = 1;
    std::unique_ptr<TDataSet> data_;
};

}  // namespace ribbon
