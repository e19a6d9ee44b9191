// The sweepers' background thread: it keeps running through failing tasks and stops at once.

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>
#include <stdexcept>
#include <thread>

#include "web/Periodic.h"

namespace ribbon::web {
namespace {

TEST(PeriodicTask, RunsAgainAfterATaskFails) {
    std::atomic<int> runs{0};
    TPeriodicTask task(std::chrono::milliseconds(1), [&] {
        ++runs;
        throw std::runtime_error("disk gone");
    });
    // Generous: this waits for runs to happen, it does not time them.
    for (int i = 0; i < 5000 && runs < 3; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    task.Stop();
    const int stopped = runs;
    EXPECT_GE(stopped, 3);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(runs, stopped);  // nothing runs after Stop
}

TEST(PeriodicTask, StopDoesNotWaitForTheInterval) {
    // With a day's interval, a Stop that waited for it would never return. It runs on a thread
    // of its own so that such a Stop fails the test instead of hanging it (the task and the
    // thread are then left behind on purpose).
    auto task = std::make_shared<TPeriodicTask>(std::chrono::hours(24), [] {});
    auto stopped = std::make_shared<std::promise<void>>();
    std::future<void> done = stopped->get_future();
    std::thread([task, stopped] {
        task->Stop();
        task->Stop();  // a second Stop is harmless
        stopped->set_value();
    }).detach();
    ASSERT_EQ(done.wait_for(std::chrono::seconds(30)), std::future_status::ready);
}

}  // namespace
}  // namespace ribbon::web
