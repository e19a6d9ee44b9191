#pragma once
// What stat(2) says about a path, kept to notice later whether the path changed, vanished or
// appeared, and the coarse clock that the kernel stamps files with. Internal to the graphics
// library.

#include <cstdint>
#include <string>

namespace ribbon::detail {

struct TPathState {
    std::string Path;
    bool Exists = false;
    std::uint64_t Device = 0, Inode = 0;
    std::int64_t Size = 0;
    std::int64_t Modified = 0, Changed = 0;  // mtime and ctime in nanoseconds

    bool operator==(const TPathState&) const = default;
};

// The path's state now, following symbolic links; an absent or unreadable path does not exist.
TPathState StatPath(const std::string& Path);

// The kernel's coarse real-time clock, in nanoseconds: a file changed from now on is stamped no
// earlier (a stamp may run up to a tick ahead of it, never behind).
std::int64_t FileClockNow();

// Whether the path may have changed at or after Since (a FileClockNow value): a state read then
// may not be the one a reader saw before it. For an absent path the nearest existing directory
// above it is asked, since removing the path changed that directory.
bool ChangedSince(const TPathState& State, std::int64_t Since);

}  // namespace ribbon::detail
