#include "web/Periodic.h"

namespace ribbon::web {

TPeriodicTask::TPeriodicTask(std::chrono::milliseconds interval, std::function<void()> task)
    : interval_(interval), task_(std::move(task)), thread_([this] { Run(); }) {}

TPeriodicTask::~TPeriodicTask() {
    Stop();
}

void TPeriodicTask::Stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void TPeriodicTask::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        const auto due = std::chrono::steady_clock::now() + interval_;
        if (wake_.wait_until(lock, due, [this] { return stopping_; })) return;
        lock.unlock();
        try {
            task_();
        } catch (...) {
        }
        lock.lock();
        if (stopping_) return;
    }
}

}  // namespace ribbon::web
