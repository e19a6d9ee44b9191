#pragma once
// A real SQLite database file for a test: made from SQL text in the test's temporary folder,
// removed again afterwards.

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "data/Database.h"

namespace ribbon::test {

inline std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TestDatabase {
  public:
    explicit TestDatabase(const std::string& sql) {
        static std::atomic<int> counter{0};
        path_ = (std::filesystem::temp_directory_path() / ("ribbon-db-" + std::to_string(getpid()) +
                                                           "-" + std::to_string(counter++) + ".db"))
                    .string();
        std::filesystem::remove(path_);
        TDatabase(path_, TOpenMode::Create).Execute(sql);
    }
    ~TestDatabase() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
        std::filesystem::remove(path_ + "-journal", ignored);
    }
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    const std::string& Path() const { return path_; }
    std::shared_ptr<TDatabase> Open() const { return std::make_shared<TDatabase>(path_); }

    // The first column of the first row, as text, read through a connection of its own.
    std::string Query(const std::string& sql) const {
        TDatabase db(path_, TOpenMode::ReadOnly);
        TStatement statement(db, sql);
        return statement.Step() ? DbValueToText(statement.Column(0)) : "<no row>";
    }

  private:
    std::string path_;
};

}  // namespace ribbon::test
