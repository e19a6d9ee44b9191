#include "cli/RecordSpool.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "base/Format.h"
#include "cli/DrawOptions.h"
#include "cli/Interrupt.h"
#include "cli/RepeatFilter.h"
#include "data/Database.h"

namespace ribbon::cli {

namespace {

constexpr std::size_t BlockBytes = 64 * 1024;
// Records are handed over at least this often, so that the drawing starts at once.
constexpr std::size_t RowsPerHandOver = 256;
constexpr std::size_t HeaderBytes = 8;  // the key's and the data's lengths

// "1 parameter (?1)", "2 parameters (?1, :sku)", "no parameters": what SQLite counts in the
// query, each by its name or its number.
std::string Parameters(const TStatement& statement) {
    const int count = statement.ParamCount();
    if (count == 0) return "no parameters";
    std::string names;
    for (int i = 1; i <= count; ++i) {
        const std::string name = statement.ParamName(i);
        names += (i > 1 ? ", " : "") + (name.empty() ? "?" + std::to_string(i) : name);
    }
    return Format("%d parameter%s (%s)", count, count == 1 ? "" : "s", names);
}

// An unlinked file in $TMPDIR (or /tmp): it goes with the process, however that ends.
int TemporaryFile() {
    const char* variable = std::getenv("TMPDIR");
    const std::string dir = variable && *variable ? variable : "/tmp";
    int fd = open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) return fd;
    std::string name = dir + "/.ribbon-records.XXXXXX";
    fd = mkostemp(name.data(), O_CLOEXEC);
    if (fd >= 0) {
        unlink(name.c_str());
        return fd;
    }
    throw EFileError(Format("Cannot make a temporary file in \"%s\" for the records. %s", dir,
                            std::strerror(errno)));
}

std::uint64_t KeyHash(std::string_view Key) {
    return std::hash<std::string_view>{}(Key);
}

void PutLength(std::string& Out, std::size_t Length) {
    for (int shift = 0; shift < 32; shift += 8) Out += static_cast<char>(Length >> shift & 0xFF);
}

std::size_t GetLength(const char* In) {
    std::size_t length = 0;
    for (int i = 3; i >= 0; --i) length = length << 8 | static_cast<unsigned char>(In[i]);
    return length;
}

void ReadAll(int fd, std::uint64_t Offset, char* Out, std::size_t Size) {
    while (Size > 0) {
        const ssize_t n = pread(fd, Out, Size, static_cast<off_t>(Offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
            throw EFileError(Format("Cannot read the records back from their temporary file. %s",
                                    n < 0 ? std::strerror(errno) : "The file ended early."));
        Out += n, Offset += static_cast<std::uint64_t>(n), Size -= static_cast<std::size_t>(n);
    }
}

}  // namespace

RecordSpool::RecordSpool(const Options& options, const std::vector<std::string>& Params) {
    auto db = std::make_shared<TDatabase>(options.Required("db"), TOpenMode::ReadOnly);
    db->SetBusyTimeout(5000);
    // The records are read once, in order: a large page cache would only grow with the
    // database.
    db->Execute("PRAGMA cache_size = -256");
    auto query = std::make_shared<TStatement>(*db, options.Required("query"));
    // A parameter left unbound would read as NULL and quietly select nothing.
    if (query->ParamCount() != static_cast<int>(Params.size())) {
        const std::size_t given = Params.size();
        throw UsageError("the query has " + Parameters(*query) + " but " +
                         (given == 0   ? std::string("no --param was given")
                          : given == 1 ? std::string("1 --param was given")
                                       : Format("%d --param values were given", given)));
    }
    // A statement that would change the database is refused before it runs.
    if (!query->IsReadOnly()) throw EDatabaseError("A query must only read the database");
    if (query->ColumnCount() == 0) throw EDatabaseError("The query returns no columns");
    for (std::size_t i = 0; i < Params.size(); ++i) query->Bind(static_cast<int>(i) + 1, Params[i]);
    auto column = [&](const std::string& name) {
        for (int c = 0; c < query->ColumnCount(); ++c)
            if (Lower(query->ColumnName(c)) == Lower(name)) return c;
        throw EDatabaseError(Format("Field '%s' not found", name));
    };
    const int data = column(options.Required("column"));
    const int key = options.Has("name-column") ? column(*options.Get("name-column")) : data;

    fd_ = TemporaryFile();
    copier_ = std::thread([this, db, query, key, data]() mutable {
        try {
            std::string buffer;
            std::size_t rows = 0, handedOver = 0;
            RepeatFilter seen;
            std::vector<std::uint64_t> repeats;
            while (!stop_ && !Interrupted() && query->Step()) {
                const std::string k = DbValueToText(query->Column(key));
                const std::string d = DbValueToText(query->Column(data));
                if (const std::uint64_t hash = KeyHash(k); seen.Add(hash)) repeats.push_back(hash);
                PutLength(buffer, k.size());
                PutLength(buffer, d.size());
                (buffer += k) += d;
                if (++rows - handedOver >= RowsPerHandOver || buffer.size() >= BlockBytes) {
                    Publish(buffer, rows, nullptr);
                    handedOver = rows;
                }
            }
            const bool complete = !stop_ && !Interrupted();
            // The read lock goes with the statement, before the drawing is over.
            query.reset();
            db.reset();
            std::sort(repeats.begin(), repeats.end());
            repeats.erase(std::unique(repeats.begin(), repeats.end()), repeats.end());
            Publish(buffer, rows, complete ? &repeats : nullptr);
            std::lock_guard guard(lock_);
            finished_ = true;
            grown_.notify_all();
        } catch (...) {
            std::lock_guard guard(lock_);
            error_ = std::current_exception();
            finished_ = true;
            grown_.notify_all();
        }
    });
}

RecordSpool::~RecordSpool() {
    stop_ = true;
    if (copier_.joinable()) copier_.join();
    if (fd_ >= 0) close(fd_);
}

void RecordSpool::Publish(std::string& Buffer, std::size_t Rows,
                          std::vector<std::uint64_t>* Repeats) {
    std::uint64_t end = published_;
    for (std::size_t done = 0; done < Buffer.size();) {
        const ssize_t n =
            pwrite(fd_, Buffer.data() + done, Buffer.size() - done, static_cast<off_t>(end + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
            throw EFileError(Format("Cannot keep the records in a temporary file. %s",
                                    n < 0 ? std::strerror(errno) : "Nothing was written."));
        done += static_cast<std::size_t>(n);
    }
    end += Buffer.size();
    Buffer.clear();
    std::lock_guard guard(lock_);
    published_ = end;
    count_ = Rows;
    if (Repeats) {
        repeats_ = std::move(*Repeats);
        complete_ = true;
    }
    grown_.notify_all();
}

bool RecordSpool::WaitFor(std::uint64_t End) {
    std::unique_lock guard(lock_);
    grown_.wait(guard, [&] { return published_ >= End || finished_; });
    if (error_) std::rethrow_exception(error_);
    return published_ >= End;
}

void RecordSpool::Read(std::uint64_t Offset, char* Out, std::size_t Size) {
    if (Offset >= windowStart_ && Offset + Size <= windowStart_ + window_.size()) {
        std::memcpy(Out, window_.data() + (Offset - windowStart_), Size);
        return;
    }
    if (Size > BlockBytes) {
        ReadAll(fd_, Offset, Out, Size);
        return;
    }
    window_.resize(
        static_cast<std::size_t>(std::min<std::uint64_t>(BlockBytes, published_ - Offset)));
    ReadAll(fd_, Offset, window_.data(), window_.size());
    windowStart_ = Offset;
    std::memcpy(Out, window_.data(), Size);
}

bool RecordSpool::Next(Record& Out, std::uint64_t& Position) {
    if (!WaitFor(next_ + HeaderBytes)) return false;
    char header[HeaderBytes];
    Read(next_, header, HeaderBytes);
    const std::size_t keySize = GetLength(header), dataSize = GetLength(header + 4);
    // Records are handed over whole: the rest is there.
    Out.Key.resize(keySize);
    Out.Data.resize(dataSize);
    Read(next_ + HeaderBytes, Out.Key.data(), keySize);
    Read(next_ + HeaderBytes + keySize, Out.Data.data(), dataSize);
    Position = next_;
    next_ += HeaderBytes + keySize + dataSize;
    return true;
}

std::string RecordSpool::KeyAt(std::uint64_t Position) {
    char header[HeaderBytes];
    ReadAll(fd_, Position, header, HeaderBytes);
    std::string key(GetLength(header), '\0');
    ReadAll(fd_, Position + HeaderBytes, key.data(), key.size());
    return key;
}

void RecordSpool::Rewind() {
    next_ = 0;
    window_.clear();
    windowStart_ = 0;
}

std::optional<std::size_t> RecordSpool::Count() const {
    std::lock_guard guard(lock_);
    if (!finished_) return std::nullopt;
    return count_;
}

bool RecordSpool::RepeatsKnown() const {
    std::lock_guard guard(lock_);
    return complete_;
}

bool RecordSpool::MayRepeat(std::string_view Key) const {
    return std::binary_search(repeats_.begin(), repeats_.end(), KeyHash(Key));
}

std::size_t RecordSpool::WaitForCount() {
    std::unique_lock guard(lock_);
    grown_.wait(guard, [&] { return finished_; });
    return count_;
}

}  // namespace ribbon::cli
