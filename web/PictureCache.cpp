#include "web/PictureCache.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

#include "base/Exceptions.h"
#include "base/Format.h"

namespace ribbon::web {

namespace fs = std::filesystem;

namespace {
constexpr std::string_view Prefix = "JPG";
constexpr std::string_view Suffix = ".tmp";

// The shape of the names Store gives: "JPG", six characters of mkstemps, ".tmp".
bool HasCacheNameShape(std::string_view name) {
    if (name.size() != Prefix.size() + 6 + Suffix.size()) return false;
    if (!name.starts_with(Prefix) || !name.ends_with(Suffix)) return false;
    for (char c : name.substr(Prefix.size(), 6)) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
            return false;
    }
    return true;
}

std::string ErrnoText(int error) {
    return std::strerror(error);
}

std::string Mebibytes(std::uintmax_t bytes) {
    return Format("%.1f MB", static_cast<double>(bytes) / (1024.0 * 1024.0));
}

// Writes all of data; 0 or the errno.
int WriteAll(int fd, std::string_view data) {
    std::size_t written = 0;
    while (written < data.size()) {
        const ssize_t n = write(fd, data.data() + written, data.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : ENOSPC;
        written += static_cast<std::size_t>(n);
    }
    return 0;
}

// A name of the shape mkstemps gives: "JPG", six letters or digits, ".tmp".
std::string RandomName() {
    static constexpr char Letters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 random{std::random_device{}()};
    std::string name(Prefix);
    for (int i = 0; i < 6; ++i) name += Letters[random() % (sizeof Letters - 1)];
    name += Suffix;
    return name;
}
}  // namespace

TPictureCache::TPin& TPictureCache::TPin::operator=(TPin&& other) noexcept {
    if (this != &other) {
        Release();
        cache_ = std::exchange(other.cache_, nullptr);
        name_ = std::move(other.name_);
    }
    return *this;
}

void TPictureCache::TPin::Release() {
    if (cache_) std::exchange(cache_, nullptr)->Unpin(name_);
}

TPictureCache::TPictureCache(fs::path directory)
    : directory_(std::move(directory)), spares_(directory_) {
    std::error_code ec;
    fs::create_directories(directory_, ec);
    if (ec || !fs::is_directory(directory_)) {
        throw EFileError(Format("Cannot create the picture cache directory \"%s\". %s",
                                directory_.string(),
                                ec ? ec.message() : std::string("It is not a directory.")));
    }
    struct statvfs vfs {};
    if (statvfs(directory_.c_str(), &vfs) == 0 && vfs.f_bsize > 0) block_ = vfs.f_bsize;

    // Pictures of an earlier process (one that was killed, perhaps in the middle of a write)
    // take room too: they are counted, oldest first, and never served.
    std::vector<std::pair<struct timespec, std::string>> found;
    for (fs::directory_iterator it(directory_, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        struct stat st {};
        if (!name.ends_with(Suffix) || lstat(it->path().c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        found.emplace_back(st.st_mtim, std::move(name));
        used_ += OnDisk(static_cast<std::uintmax_t>(st.st_size));
        entries_[found.back().second].Bytes = OnDisk(static_cast<std::uintmax_t>(st.st_size));
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return std::pair(a.first.tv_sec, a.first.tv_nsec) <
               std::pair(b.first.tv_sec, b.first.tv_nsec);
    });
    for (auto& [stamp, name] : found) {
        entries_[name].Order = nextOrder_;
        unpinned_.emplace(nextOrder_++, std::move(name));
    }
}

std::uintmax_t TPictureCache::OnDisk(std::uintmax_t bytes) const {
    return (bytes + block_ - 1) / block_ * block_;
}

void TPictureCache::Drop(Entries::iterator it) {
    unlink((directory_ / it->first).c_str());
    used_ -= std::min(used_, it->second.Bytes);
    if (!it->second.Pinned) unpinned_.erase(it->second.Order);
    entries_.erase(it);
}

TPictureCache::TPin TPictureCache::Store(std::string_view jpeg, std::uintmax_t quota) {
    const std::uintmax_t bytes = OnDisk(jpeg.size());
    {
        std::lock_guard lock(mutex_);
        while (used_ + bytes > quota && !unpinned_.empty())
            Drop(entries_.find(unpinned_.begin()->second));
        if (used_ + bytes > quota) {
            throw EFileError(
                Format("The picture cache is full (%s of %s): every picture in it is shown by a "
                       "page.",
                       Mebibytes(used_), Mebibytes(quota)));
        }
        used_ += bytes;  // reserved while the file is written
    }
    auto unreserve = [&] {
        std::lock_guard lock(mutex_);
        used_ -= std::min(used_, bytes);
    };

    std::string name = StoreInSpare(jpeg);
    if (name.empty()) name = StoreInNewFile(jpeg, unreserve);
    std::lock_guard lock(mutex_);
    entries_[name] = Entry{bytes, nextOrder_++, true, true};
    return TPin(this, std::move(name));
}

std::string TPictureCache::StoreInSpare(std::string_view jpeg) {
    const int fd = spares_.Take();
    if (fd < 0) return {};
    // Any failure here leaves nothing behind (the file has no name yet) and the picture takes
    // the ordinary way, which reports what went wrong.
    if (WriteAll(fd, jpeg) != 0) {
        close(fd);
        return {};
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = RandomName();
        const int error = TSpareFiles::Link(fd, (directory_ / name).string());
        if (error == EEXIST) continue;
        if (error != 0) {
            // A directory that is gone or refuses for now is the ordinary way's to report;
            // anything else means that files cannot be linked here at all.
            std::error_code ec;
            const bool passing = error == EACCES || error == ENOSPC || error == EDQUOT ||
                                 error == EROFS ||
                                 (error == ENOENT && !fs::is_directory(directory_, ec));
            if (!passing) spares_.Disable();
            break;
        }
        if (close(fd) != 0) {
            unlink((directory_ / name).c_str());
            return {};
        }
        return name;
    }
    close(fd);
    return {};
}

std::string TPictureCache::StoreInNewFile(std::string_view jpeg,
                                          const std::function<void()>& unreserve) {
    std::string path = (directory_ / "JPGXXXXXX.tmp").string();
    int fd = mkstemps(path.data(), static_cast<int>(Suffix.size()));
    if (fd < 0 && errno == ENOENT) {
        // The folder was removed under the running server: made again, as at start-up.
        std::error_code ec;
        fs::create_directories(directory_, ec);
        path = (directory_ / "JPGXXXXXX.tmp").string();
        fd = mkstemps(path.data(), static_cast<int>(Suffix.size()));
    }
    if (fd < 0) {
        const int error = errno;
        unreserve();
        throw EFileError(Format("Cannot create a picture file in \"%s\". %s", directory_.string(),
                                ErrnoText(error)));
    }
    if (const int error = WriteAll(fd, jpeg); error != 0) {
        close(fd);
        unlink(path.c_str());
        unreserve();
        throw EFileError(
            Format("Cannot write the picture file \"%s\". %s", path, ErrnoText(error)));
    }
    // mkstemps makes the file readable by its owner only (as the spare files are); the server
    // process is the reader.
    if (close(fd) != 0) {
        const int error = errno;
        unlink(path.c_str());
        unreserve();
        throw EFileError(
            Format("Cannot write the picture file \"%s\". %s", path, ErrnoText(error)));
    }
    return fs::path(path).filename().string();
}
void TPictureCache::Unpin(const std::string& name) {
    std::lock_guard lock(mutex_);
    auto it = entries_.find(name);
    if (it == entries_.end() || !it->second.Pinned) return;
    it->second.Pinned = false;
    unpinned_.emplace(it->second.Order, name);
}

void TPictureCache::Discard(TPin pin) {
    if (!pin.cache_) return;
    pin.cache_ = nullptr;
    std::lock_guard lock(mutex_);
    auto it = entries_.find(pin.name_);
    if (it != entries_.end()) Drop(it);
}

std::optional<fs::path> TPictureCache::Find(std::string_view name) const {
    if (!HasCacheNameShape(name)) return std::nullopt;
    {
        std::lock_guard lock(mutex_);
        auto it = entries_.find(name);
        if (it == entries_.end() || !it->second.Servable) return std::nullopt;
    }
    fs::path path = directory_ / std::string(name);
    std::error_code ec;
    // A symbolic link put in place of a picture is not followed.
    if (!fs::is_regular_file(fs::symlink_status(path, ec))) return std::nullopt;
    return path;
}

int TPictureCache::Sweep(TimePoint now) {
    const TimePoint limit = now - MaxAge;
    std::vector<std::string> gone;
    std::error_code ec;
    for (fs::directory_iterator it(directory_, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!name.ends_with(Suffix)) continue;
        struct stat st {};
        if (lstat(it->path().c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        const TimePoint stamp = std::chrono::system_clock::from_time_t(st.st_mtim.tv_sec) +
                                std::chrono::duration_cast<std::chrono::system_clock::duration>(
                                    std::chrono::nanoseconds(st.st_mtim.tv_nsec));
        if (stamp < limit && unlink(it->path().c_str()) == 0) gone.push_back(name);
    }
    std::lock_guard lock(mutex_);
    for (const auto& name : gone) {
        auto it = entries_.find(name);
        if (it == entries_.end()) continue;
        used_ -= std::min(used_, it->second.Bytes);
        if (!it->second.Pinned) unpinned_.erase(it->second.Order);
        entries_.erase(it);
    }
    return static_cast<int>(gone.size());
}

std::uintmax_t TPictureCache::Size() const {
    std::lock_guard lock(mutex_);
    return used_;
}

}  // namespace ribbon::web
