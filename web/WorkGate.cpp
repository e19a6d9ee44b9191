#include "web/WorkGate.h"

#include <algorithm>
#include <thread>

namespace ribbon::web {

TWorkGate::TWorkGate(std::size_t width)
    : width_(width > 0 ? width : std::max(1u, std::thread::hardware_concurrency())) {}

void TWorkGate::Enter() {
    std::unique_lock lock(mutex_);
    if (inside_ < width_ && line_.empty()) {
        ++inside_;
        return;
    }
    Waiter self;
    line_.push_back(&self);
    // Leave hands its place over directly, so inside_ already counts this request.
    self.Ready.wait(lock, [&] { return self.Admitted; });
}

void TWorkGate::Leave() {
    std::lock_guard lock(mutex_);
    if (line_.empty()) {
        --inside_;
        return;
    }
    Waiter* next = line_.front();
    line_.pop_front();
    next->Admitted = true;
    // Notified under the lock: the waiter's condition variable lives on its stack.
    next->Ready.notify_one();
}

}  // namespace ribbon::web
