// The per-thread store of composed text runs stays within its bounds, dropping the runs used
// least recently.

#include <gtest/gtest.h>

#include "graphics/TextRuns.h"

namespace ribbon::detail {
namespace {

TTextRunKey Key(int i) {
    TTextRunKey key;
    key.EmPixels = i;
    key.Text = "5901234123457";
    return key;
}

TTextRun RunOf(std::size_t bytes) {
    TTextRun run;
    run.Usable = true;
    run.Rgb.resize(bytes);
    return run;
}

int Kept(TTextRunCache& cache, int count) {
    int kept = 0;
    std::size_t hash;
    for (int i = 0; i < count; ++i) kept += cache.Find(Key(i), hash) != nullptr;
    return kept;
}

TEST(TextRuns, DropTheLeastRecentlyUsedBeyondTheirBounds) {
    const std::size_t half = TTextRunCache::MaxRunBytes / 2;
    struct Case {
        std::size_t bytes;
        int added, kept;
    };
    for (const Case& c : {Case{3, 40, int(TTextRunCache::MaxRuns)},
                          Case{half, 20, int(TTextRunCache::MaxBytes / half)}}) {
        TTextRunCache cache;
        std::size_t hash;
        for (int i = 0; i < c.added; ++i) {
            cache.Find(Key(0), hash);  // the first run stays in use throughout
            cache.Add(Key(i), Key(i).Hash(), nullptr, RunOf(c.bytes));
        }
        EXPECT_NE(cache.Find(Key(0), hash), nullptr) << c.bytes;
        EXPECT_EQ(cache.Find(Key(1), hash), nullptr) << c.bytes;
        EXPECT_NE(cache.Find(Key(c.added - 1), hash), nullptr) << c.bytes;
        EXPECT_EQ(Kept(cache, c.added), c.kept) << c.bytes;
    }
}

TEST(TextRuns, RememberARunTooLargeToKeepAsNotKept) {
    TTextRunCache cache;
    const TTextRun& run =
        cache.Add(Key(1), Key(1).Hash(), nullptr, RunOf(TTextRunCache::MaxRunBytes + 1));
    EXPECT_FALSE(run.Usable);
    EXPECT_TRUE(run.Rgb.empty());
    std::size_t hash;
    EXPECT_EQ(cache.Find(Key(1), hash), &run);
}

}  // namespace
}  // namespace ribbon::detail
