#pragma once
// The pictures that pages show: JPEG files in one directory, named by the cache itself, served
// by name and swept when they are old.

#include <array>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "runtime/Bitmap.h"
#include "web/Clock.h"

namespace ribbon::web {

class TPictureCache {
  public:
    static constexpr std::chrono::minutes MaxAge{10};

    // Creates the directory with any missing parents; raises EFileError when that fails.
    explicit TPictureCache(std::filesystem::path directory);

    const std::filesystem::path& Directory() const { return directory_; }

    // The encoder settings of the pictures: baseline, quality 90, exact integer DCT.
    static TJPEGOptions JpegOptions();

    // Writes the picture as a baseline 24-bit JPEG of quality 90 into a new file "JPG*.tmp"
    // and returns the file's name.
    std::string Store(const TBitmap& picture);

    // The path of a picture this cache made, if the file is still there; nullopt for any other
    // name (a name with a directory part, a name the cache never gave, a deleted file).
    std::optional<std::filesystem::path> Find(std::string_view name) const;

    // Deletes every "*.tmp" file in the directory whose time stamp is more than MaxAge before
    // now; returns how many went.
    int Sweep(TimePoint now);

  private:
    // The names given, spread over shards by a hash of the name so that concurrent Stores and
    // Finds rarely wait for one another.
    struct Shard {
        mutable std::mutex Mutex;
        std::set<std::string, std::less<>> Names;
    };
    static constexpr std::size_t ShardCount = 16;
    Shard& ShardOf(std::string_view name) const;

    std::filesystem::path directory_;
    mutable std::array<Shard, ShardCount> shards_;
};

}  // namespace ribbon::web
