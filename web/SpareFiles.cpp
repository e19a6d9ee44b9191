#include "web/SpareFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>

namespace ribbon::web {

TSpareFiles::TSpareFiles(std::filesystem::path directory, std::size_t keep)
    : directory_(std::move(directory)), keep_(keep) {}

TSpareFiles::~TSpareFiles() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
    for (int fd : ready_) close(fd);  // unnamed: closing frees them
}

int TSpareFiles::Take() {
    std::unique_lock lock(mutex_);
    if (disabled_) return -1;
    if (!started_) {
        started_ = true;
        thread_ = std::thread([this] { Run(); });
    }
    if (ready_.empty()) return -1;
    const int fd = ready_.back();
    ready_.pop_back();
    // Made in batches: the maker is woken once half are gone, not for every file.
    const bool wake = ready_.size() == keep_ / 2;
    lock.unlock();
    if (wake) wake_.notify_all();
    return fd;
}

void TSpareFiles::Disable() {
    std::lock_guard lock(mutex_);
    disabled_ = true;
    wake_.notify_all();
}

int TSpareFiles::Link(int fd, const std::string& path) {
    char self[32];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
    return linkat(AT_FDCWD, self, AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
}

void TSpareFiles::Run() {
    std::unique_lock lock(mutex_);
    while (!stopping_ && !disabled_) {
        if (ready_.size() >= keep_ || (filled_ && ready_.size() > keep_ / 2)) {
            filled_ = true;
            wake_.wait(lock);
            continue;
        }
        filled_ = false;
        lock.unlock();
        const int fd = open(directory_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        const int error = errno;
        lock.lock();
        if (fd >= 0) {
            ready_.push_back(fd);
        } else if (error == EOPNOTSUPP || error == EISDIR || error == EINVAL) {
            disabled_ = true;  // no unnamed files here: every picture makes its own file
        } else {
            // The directory is gone or full for now: the requests make their files meanwhile.
            wake_.wait_for(lock, std::chrono::seconds(1));
        }
    }
}

}  // namespace ribbon::web
