#pragma once
// The pictures that pages show: JPEG files in one directory, named by the cache itself, served
// by name and swept when they are old.

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
    std::filesystem::path directory_;
    mutable std::mutex mutex_;
    std::set<std::string, std::less<>> names_;
};

}  // namespace ribbon::web
