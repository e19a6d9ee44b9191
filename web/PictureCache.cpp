#include "web/PictureCache.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "runtime/Exceptions.h"
#include "runtime/Format.h"

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

std::string ErrnoText() {
    return std::strerror(errno);
}
}  // namespace

TPictureCache::TPictureCache(fs::path directory) : directory_(std::move(directory)) {
    std::error_code ec;
    fs::create_directories(directory_, ec);
    if (ec || !fs::is_directory(directory_)) {
        throw EFileError(Format("Cannot create the picture cache directory \"%s\". %s",
                                directory_.string(),
                                ec ? ec.message() : std::string("It is not a directory.")));
    }
}

TJPEGOptions TPictureCache::JpegOptions() {
    TJPEGOptions options;
    options.CompressionQuality = 90;
    options.ProgressiveEncoding = false;
    // Chosen by measurement (ribbon_web_bench, BM_JpegEncode, the page's first picture):
    // Huffman tables fitted to the picture make the file 5.8 KB instead of 8.5 KB but take 1.9
    // times as long to encode (a second pass over the coefficients). A View is worth more than
    // 2.7 KB on the wire. The fast integer DCT saves nothing measurable with libjpeg-turbo's
    // vector code and would change the pixels.
    options.OptimizeCoding = false;
    return options;
}

std::string TPictureCache::Store(const TBitmap& picture) {
    const std::string jpeg = picture.Encode(TImageFormat::Jpeg, JpegOptions());

    std::string path = (directory_ / "JPGXXXXXX.tmp").string();
    const int fd = mkstemps(path.data(), static_cast<int>(Suffix.size()));
    if (fd < 0) {
        throw EFileError(
            Format("Cannot create a picture file in \"%s\". %s", directory_.string(), ErrnoText()));
    }
    std::size_t written = 0;
    while (written < jpeg.size()) {
        const ssize_t n = write(fd, jpeg.data() + written, jpeg.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const std::string reason = ErrnoText();
            close(fd);
            unlink(path.c_str());
            throw EFileError(Format("Cannot write the picture file \"%s\". %s", path, reason));
        }
        written += static_cast<std::size_t>(n);
    }
    // mkstemps makes the file readable by its owner only; the server process is the reader.
    close(fd);
    std::string name = fs::path(path).filename().string();
    Shard& shard = ShardOf(name);
    std::lock_guard lock(shard.Mutex);
    shard.Names.insert(name);
    return name;
}

TPictureCache::Shard& TPictureCache::ShardOf(std::string_view name) const {
    return shards_[std::hash<std::string_view>{}(name) % ShardCount];
}

std::optional<fs::path> TPictureCache::Find(std::string_view name) const {
    if (!HasCacheNameShape(name)) return std::nullopt;
    {
        const Shard& shard = ShardOf(name);
        std::lock_guard lock(shard.Mutex);
        if (shard.Names.find(name) == shard.Names.end()) return std::nullopt;
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
    for (const auto& name : gone) {
        Shard& shard = ShardOf(name);
        std::lock_guard lock(shard.Mutex);
        shard.Names.erase(name);
    }
    return static_cast<int>(gone.size());
}

}  // namespace ribbon::web
