// The work gate: never more requests inside than its width, and the bitmap a slot keeps comes
// back to the next request that passes through it.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "web/WorkGate.h"

namespace ribbon::web {
namespace {

TEST(WorkGate, LetsNoMoreThanItsWidthInAtOnce) {
    TWorkGate gate(2);
    std::atomic<int> inside{0}, most{0}, done{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i) {
                const TWorkGate::Pass pass(gate);
                const int now = ++inside;
                int seen = most.load();
                while (now > seen && !most.compare_exchange_weak(seen, now)) {
                }
                std::this_thread::yield();
                --inside;
                ++done;
            }
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(done.load(), 1600);
    EXPECT_LE(most.load(), 2);
    EXPECT_GE(most.load(), 1);
}

TEST(WorkGate, ASlotKeepsItsBitmapForTheNextRequest) {
    TWorkGate gate(1);
    EXPECT_EQ(TWorkGate::TakeBitmap().Width(), 0);  // outside a pass: nothing kept
    {
        const TWorkGate::Pass pass(gate);
        TBitmap first = TWorkGate::TakeBitmap();
        EXPECT_EQ(first.Width(), 0);
        first.SetSize(500, 200);
        first.ScanLine(0)[0] = 7;
        TWorkGate::ReturnBitmap(std::move(first));
    }
    const TWorkGate::Pass pass(gate);
    TBitmap again = TWorkGate::TakeBitmap();
    EXPECT_EQ(again.Width(), 500);
    EXPECT_EQ(again.ScanLine(0)[0], 7);
    EXPECT_EQ(TWorkGate::TakeBitmap().Width(), 0);  // taken already
}

}  // namespace
}  // namespace ribbon::web
