#include "base/PathState.h"

#include <sys/stat.h>

#include <algorithm>
#include <ctime>

namespace ribbon::detail {

namespace {

constexpr std::int64_t Second = 1'000'000'000;

std::int64_t Nanoseconds(const timespec& t) {
    return static_cast<std::int64_t>(t.tv_sec) * Second + t.tv_nsec;
}

// A time stamped at or after Since, or within the granularity of a file system that keeps
// whole seconds (up to two on FAT), on which a later change may carry the same stamp.
bool StampedSince(std::int64_t Stamp, std::int64_t Since) {
    if (Stamp % Second == 0) return Stamp + 2 * Second > Since;
    return Stamp >= Since;
}

}  // namespace

TPathState StatPath(const std::string& Path) {
    TPathState s;
    s.Path = Path;
    struct stat st {};
    if (stat(Path.c_str(), &st) != 0) return s;
    s.Exists = true;
    s.Device = st.st_dev;
    s.Inode = st.st_ino;
    s.Size = st.st_size;
    s.Modified = Nanoseconds(st.st_mtim);
    s.Changed = Nanoseconds(st.st_ctim);
    return s;
}

std::int64_t FileClockNow() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME_COARSE, &now);
    return Nanoseconds(now);
}

bool ChangedSince(const TPathState& State, std::int64_t Since) {
    if (State.Exists) return StampedSince(std::max(State.Modified, State.Changed), Since);
    for (std::string dir = State.Path;;) {
        const auto slash = dir.find_last_of('/');
        if (slash == std::string::npos) {
            const TPathState cwd = StatPath(".");
            return !cwd.Exists || ChangedSince(cwd, Since);
        }
        dir = dir.substr(0, std::max<std::size_t>(slash, 1));
        const TPathState parent = StatPath(dir);
        if (parent.Exists) return ChangedSince(parent, Since);
        if (dir == "/") return true;
    }
}

}  // namespace ribbon::detail
