// The bookkeeping of the labels' file names on its own: the set of names taken stays exact over
// a million names (enough for some to share the hash fragment it keeps, so that its read-back
// comparison is taken), and the filter of names that may repeat never misses one.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/NameSet.h"
#include "cli/RepeatFilter.h"

namespace ribbon::cli {
namespace {

TEST(NameSet, ExactOverAMillionNames) {
    std::vector<std::string> keys;  // a name's position is its index
    for (int i = 0; i < 1000000; ++i) keys.push_back("item" + std::to_string(i));
    std::size_t readBacks = 0;
    NameSet names([&](std::uint64_t position) {
        ++readBacks;
        return keys[position];
    });
    for (std::size_t i = 0; i < keys.size(); ++i) ASSERT_TRUE(names.Insert(keys[i], i)) << keys[i];
    EXPECT_GT(readBacks, 0u) << "no two names shared a fragment: the comparison went untried";
    for (std::size_t i = 0; i < keys.size(); i += 997)
        EXPECT_FALSE(names.Insert(keys[i], keys.size() + i)) << keys[i];
}

TEST(RepeatFilter, NeverMissesANameSeenAndRarelyTakesANewOneForSeen) {
    constexpr int count = 200000;
    auto hash = [](int i) { return std::hash<std::string>{}("name" + std::to_string(i)); };
    RepeatFilter filter;
    int falseAlarms = 0;
    for (int i = 0; i < count; ++i) falseAlarms += filter.Add(hash(i));
    for (int i = 0; i < count; i += 7) EXPECT_TRUE(filter.Add(hash(i))) << i;
    EXPECT_LT(falseAlarms, count / 20);  // about 2 %
}

}  // namespace
}  // namespace ribbon::cli
