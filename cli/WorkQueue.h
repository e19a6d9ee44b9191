#pragma once
// A bounded queue between the stages of a run: a full queue holds its producer back, so the
// memory in flight stays the same however long the run is. A waiting side is woken in batches
// (a producer once the queue has drained to half, a waiting consumer once WakeAt items are
// there) rather than for every item, which would cost two system calls and a switch of threads
// an item.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

namespace ribbon::cli {

template <typename T>
class WorkQueue {
  public:
    explicit WorkQueue(std::size_t Capacity, std::size_t WakeAt = 1)
        : capacity_(Capacity), wakeAt_(WakeAt) {}

    // Waits while the queue is full; false once it was cancelled.
    bool Push(T Item) {
        std::unique_lock guard(lock_);
        if (items_.size() >= capacity_)
            notFull_.wait(guard, [&] { return items_.size() <= capacity_ / 2 || cancelled_; });
        if (cancelled_) return false;
        items_.push_back(std::move(Item));
        if (items_.size() >= wakeAt_) ready_.notify_one();
        return true;
    }

    // Waits for an item; false once the queue is closed and empty, or cancelled.
    bool Pop(T& Item) {
        std::unique_lock guard(lock_);
        if (items_.empty())
            ready_.wait(guard, [&] { return items_.size() >= wakeAt_ || closed_ || cancelled_; });
        if (cancelled_ || items_.empty()) return false;
        Item = std::move(items_.front());
        items_.pop_front();
        if (items_.size() == capacity_ / 2) notFull_.notify_all();
        return true;
    }

    // No more items: the ones in the queue are still taken.
    void Close() {
        std::lock_guard guard(lock_);
        closed_ = true;
        ready_.notify_all();
    }

    // Every wait ends at once and the items are dropped.
    void Cancel() {
        std::lock_guard guard(lock_);
        cancelled_ = true;
        items_.clear();
        ready_.notify_all();
        notFull_.notify_all();
    }

  private:
    std::size_t capacity_, wakeAt_;
    std::mutex lock_;
    std::condition_variable notFull_, ready_;
    std::deque<T> items_;
    bool closed_ = false, cancelled_ = false;
};

}  // namespace ribbon::cli
