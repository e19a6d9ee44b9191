#pragma once
// A bounded queue between the stages of a run: a full queue holds its producer back, so the
// memory in flight stays the same however long the run is.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

namespace ribbon::cli {

template <typename T>
class WorkQueue {
  public:
    explicit WorkQueue(std::size_t Capacity) : capacity_(Capacity) {}

    // Waits while the queue is full; false once it was cancelled.
    bool Push(T Item) {
        std::unique_lock guard(lock_);
        notFull_.wait(guard, [&] { return items_.size() < capacity_ || cancelled_; });
        if (cancelled_) return false;
        items_.push_back(std::move(Item));
        notEmpty_.notify_one();
        return true;
    }

    // Waits for an item; false once the queue is closed and empty, or cancelled.
    bool Pop(T& Item) {
        std::unique_lock guard(lock_);
        notEmpty_.wait(guard, [&] { return !items_.empty() || closed_ || cancelled_; });
        if (cancelled_ || items_.empty()) return false;
        Item = std::move(items_.front());
        items_.pop_front();
        notFull_.notify_one();
        return true;
    }

    // No more items: the ones in the queue are still taken.
    void Close() {
        std::lock_guard guard(lock_);
        closed_ = true;
        notEmpty_.notify_all();
    }

    // Every wait ends at once and the items are dropped.
    void Cancel() {
        std::lock_guard guard(lock_);
        cancelled_ = true;
        items_.clear();
        notEmpty_.notify_all();
        notFull_.notify_all();
    }

  private:
    std::size_t capacity_;
    std::mutex lock_;
    std::condition_variable notFull_, notEmpty_;
    std::deque<T> items_;
    bool closed_ = false, cancelled_ = false;
};

}  // namespace ribbon::cli
