#pragma once
// The pictures that pages show: JPEG files in one directory, named by the cache itself, served
// by name, swept when they are old and held within a size quota.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "web/Clock.h"
#include "web/SpareFiles.h"

namespace ribbon::web {

class TPictureCache {
  public:
    static constexpr std::chrono::minutes MaxAge{10};
    static constexpr std::uintmax_t DefaultQuota = 256ULL * 1024 * 1024;

    // A stored picture that a page shows. While it is held the quota never deletes the file
    // (the sweep still does once the file is older than MaxAge).
    class TPin {
      public:
        TPin() = default;
        TPin(TPin&& other) noexcept { *this = std::move(other); }
        TPin& operator=(TPin&& other) noexcept;
        ~TPin() { Release(); }
        TPin(const TPin&) = delete;
        TPin& operator=(const TPin&) = delete;
        const std::string& Name() const { return name_; }

      private:
        friend class TPictureCache;
        TPin(TPictureCache* cache, std::string name) : cache_(cache), name_(std::move(name)) {}
        void Release();
        TPictureCache* cache_ = nullptr;
        std::string name_;
    };

    // Creates the directory with any missing parents; raises EFileError when that fails.
    // Pictures already in it (left by an earlier process) count against the quota and go
    // first; they are never served.
    explicit TPictureCache(std::filesystem::path directory);

    const std::filesystem::path& Directory() const { return directory_; }

    // Writes the JPEG into a new file "JPG*.tmp". While the cache would grow beyond quota
    // bytes, the oldest pictures that no page shows are deleted first. Raises EFileError when
    // no room can be made or the file cannot be written; nothing is left behind then.
    TPin Store(std::string_view jpeg, std::uintmax_t quota = DefaultQuota);
    // Deletes a stored picture whose page never went out.
    void Discard(TPin pin);

    // The path of a picture this cache made, if the file is still there; nullopt for any other
    // name (a name with a directory part, a name the cache never gave, a deleted file).
    std::optional<std::filesystem::path> Find(std::string_view name) const;

    // Deletes every "*.tmp" file in the directory whose time stamp is more than MaxAge before
    // now; returns how many went.
    int Sweep(TimePoint now);

    // The disk space the cache's pictures take, in bytes.
    std::uintmax_t Size() const;

  private:
    struct Entry {
        std::uintmax_t Bytes = 0;  // on disk, whole blocks
        std::uint64_t Order = 0;   // write order; the oldest go first
        bool Pinned = false;
        bool Servable = false;  // made by this process, completely written
    };
    using Entries = std::map<std::string, Entry, std::less<>>;

    void Unpin(const std::string& name);
    // Deletes the entry's file and forgets it. The lock is held.
    void Drop(Entries::iterator it);
    std::uintmax_t OnDisk(std::uintmax_t bytes) const;
    // The picture written into a spare file and linked under a new name; "" when no spare was
    // ready or it could not be used.
    std::string StoreInSpare(std::string_view jpeg);
    // The picture written into a file made now; raises EFileError (after unreserve) on failure.
    std::string StoreInNewFile(std::string_view jpeg, const std::function<void()>& unreserve);

    std::filesystem::path directory_;
    std::uintmax_t block_ = 4096;
    mutable std::mutex mutex_;
    Entries entries_;
    std::map<std::uint64_t, std::string> unpinned_;  // by Order: what the quota may delete
    std::uintmax_t used_ = 0;
    std::uint64_t nextOrder_ = 0;
    TSpareFiles spares_;  // last: its thread stops before the rest goes
};

}  // namespace ribbon::web
