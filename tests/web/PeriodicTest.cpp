// The sweepers' background thread: it keeps running through failing tasks and stops at once.

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

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
    // With a day's interval, a Stop that waited for it would hang the test.
    TPeriodicTask task(std::chrono::hours(24), [] {});
    task.Stop();
    task.Stop();
}

}  // namespace
}  // namespace ribbon::web
