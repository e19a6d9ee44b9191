#pragma once
// A background thread that runs a task at a fixed interval until it is stopped. Stopping wakes
// the thread at once instead of waiting for the interval to end.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace ribbon::web {

class TPeriodicTask {
  public:
    // Errors the task raises are dropped: the next run tries again.
    TPeriodicTask(std::chrono::milliseconds interval, std::function<void()> task);
    ~TPeriodicTask();
    TPeriodicTask(const TPeriodicTask&) = delete;
    TPeriodicTask& operator=(const TPeriodicTask&) = delete;

    // Waits for a running task to finish. Safe to call more than once.
    void Stop();

  private:
    void Run();

    std::chrono::milliseconds interval_;
    std::function<void()> task_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace ribbon::web
