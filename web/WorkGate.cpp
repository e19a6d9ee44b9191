#include "web/WorkGate.h"

#include <algorithm>
#include <thread>
#include <utility>

namespace ribbon::web {

namespace {
// The pass the calling thread holds, if any.
thread_local TWorkGate::Pass* current = nullptr;
}  // namespace

TWorkGate::TWorkGate(std::size_t width)
    : width_(width > 0 ? width : std::max(1u, std::thread::hardware_concurrency())),
      slots_(width_) {
    for (std::size_t i = width_; i-- > 0;) free_.push_back(i);
}

TWorkGate::Pass::Pass(TWorkGate& gate) : gate_(gate), slot_(gate.Enter()), outer_(current) {
    current = this;
}

TWorkGate::Pass::~Pass() {
    current = outer_;
    gate_.Leave(slot_);
}

std::size_t TWorkGate::Enter() {
    std::unique_lock lock(mutex_);
    if (!free_.empty() && line_.empty()) {
        const std::size_t slot = free_.back();
        free_.pop_back();
        return slot;
    }
    Waiter self;
    line_.push_back(&self);
    // Leave hands its slot over directly.
    self.Ready.wait(lock, [&] { return self.Admitted; });
    return self.Slot;
}

void TWorkGate::Leave(std::size_t slot) {
    std::lock_guard lock(mutex_);
    if (line_.empty()) {
        free_.push_back(slot);
        return;
    }
    Waiter* next = line_.front();
    line_.pop_front();
    next->Admitted = true;
    next->Slot = slot;
    // Notified under the lock: the waiter's condition variable lives on its stack.
    next->Ready.notify_one();
}

TBitmap TWorkGate::TakeBitmap() {
    if (!current) return TBitmap();
    // Only the holder of a slot touches its bitmap, so no lock is needed.
    TBitmap& kept = current->gate_.slots_[current->slot_].Bitmap;
    return std::exchange(kept, TBitmap());
}

void TWorkGate::ReturnBitmap(TBitmap&& bitmap) {
    if (!current) return;
    TBitmap& kept = current->gate_.slots_[current->slot_].Bitmap;
    if (kept.Width() == 0 && kept.Height() == 0) kept = std::move(bitmap);
}

}  // namespace ribbon::web
