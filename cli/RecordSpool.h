#pragma once
// The records of the labels query, copied out of the database by a thread of their own into an
// unlinked temporary file and read back in the query's order while the copying goes on. The
// database's read lock lasts as long as the copying (as when the records were held in memory),
// not as long as the drawing, so writers of the database wait no longer than before; the memory
// stays the same whatever the number of records; and a second pass reads the very same records.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "cli/Options.h"

namespace ribbon::cli {

struct Record {
    std::string Key;   // what names the record in messages (and its file)
    std::string Data;  // what the barcode encodes
};

class RecordSpool {
  public:
    // Opens --db and checks --query against Params (raising UsageError when their numbers
    // differ), that it only reads and that --column and --name-column name its columns, raising
    // the error before any record is copied; then starts copying. Stops copying on an
    // interruption.
    RecordSpool(const Options& options, const std::vector<std::string>& Params);
    ~RecordSpool();
    RecordSpool(const RecordSpool&) = delete;
    RecordSpool& operator=(const RecordSpool&) = delete;

    // The next record and where it is kept; false after the last one. Waits for the copying;
    // raises its error.
    bool Next(Record& Out, std::uint64_t& Position);
    // The key of the record that Next found at Position.
    std::string KeyAt(std::uint64_t Position);
    // Makes Next start again from the first record.
    void Rewind();
    // The number of records once all were copied (or the copying stopped).
    std::optional<std::size_t> Count() const;
    std::size_t WaitForCount();

    // Once every record is copied: whether Key may be the key of more than one record (false
    // means surely not; true for about 2 % of the others).
    bool RepeatsKnown() const;
    bool MayRepeat(std::string_view Key) const;

  private:
    void Copy();
    void Publish(std::string& Buffer, std::size_t Rows, std::vector<std::uint64_t>* Repeats);
    bool WaitFor(std::uint64_t End);
    void Read(std::uint64_t Offset, char* Out, std::size_t Size);

    int fd_ = -1;
    std::thread copier_;
    std::atomic<bool> stop_{false};

    // Shared with the copying thread.
    mutable std::mutex lock_;
    std::condition_variable grown_;
    std::atomic<std::uint64_t> published_{0};  // bytes that hold whole records
    std::size_t count_ = 0;
    bool finished_ = false;
    bool complete_ = false;               // every record copied
    std::vector<std::uint64_t> repeats_;  // sorted hashes of the keys that may repeat
    std::exception_ptr error_;

    // The reading side: a window of the file, read a block at a time.
    std::uint64_t next_ = 0;
    std::string window_;
    std::uint64_t windowStart_ = 0;
};

}  // namespace ribbon::cli
