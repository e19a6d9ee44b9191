#include "webdemo/BackPicture.h"

#include <sys/stat.h>

#include <map>
#include <mutex>

namespace ribbon::webdemo {

namespace {

// What tells one version of a file from the next without reading it.
struct FileStamp {
    dev_t Device = 0;
    ino_t Inode = 0;
    off_t Size = 0;
    long long ModifiedSec = 0;
    long ModifiedNsec = 0;
    long long ChangedSec = 0;
    long ChangedNsec = 0;
    bool operator==(const FileStamp&) const = default;
};

struct Decoded {
    FileStamp Stamp;
    std::shared_ptr<const TBitmap> Picture;
};

std::mutex mutex;
std::map<std::string, Decoded, std::less<>> decoded;

}  // namespace

std::shared_ptr<const TBitmap> BackPicture(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        const FileStamp stamp{st.st_dev,         st.st_ino,          st.st_size,
                              st.st_mtim.tv_sec, st.st_mtim.tv_nsec, st.st_ctim.tv_sec,
                              st.st_ctim.tv_nsec};
        {
            std::lock_guard lock(mutex);
            auto it = decoded.find(path);
            if (it != decoded.end() && it->second.Stamp == stamp) return it->second.Picture;
        }
        // Decoded outside the lock; two requests that meet a new file both decode it.
        auto picture = std::make_shared<TBitmap>();
        picture->LoadFromFile(path);
        std::lock_guard lock(mutex);
        decoded[path] = {stamp, picture};
        return picture;
    }
    // Not there (or not a file): the loader raises the error a user would see from it.
    auto picture = std::make_shared<TBitmap>();
    picture->LoadFromFile(path);
    return picture;
}

}  // namespace ribbon::webdemo
