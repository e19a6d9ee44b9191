#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "base/Exceptions.h"
#include "base/Numeric.h"

namespace ribbon {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    struct Case {
        long double value;
        long long expected;
    };
    const Case cases[] = {
        {2.5L, 2},   {3.5L, 4},   {4.5L, 4},     {5.5L, 6},   {50.5L, 50},  {51.5L, 52},
        {-2.5L, -2}, {-3.5L, -4}, {0.5L, 0},     {1.5L, 2},   {2.4999L, 2}, {2.5001L, 3},
        {-0.4L, 0},  {7.5L, 8},   {190.5L, 190}, {51.5L, 52},
    };
    for (const Case& c : cases) EXPECT_EQ(RoundHalfEven(c.value), c.expected) << (double)c.value;
}

TEST(RoundHalfEven, ValuesWithoutAnIntegerAreInvalidOperations) {
    for (long double v : {std::numeric_limits<long double>::quiet_NaN(),
                          std::numeric_limits<long double>::infinity(), -1e30L}) {
        try {
            RoundHalfEven(v);
            FAIL() << "no error for " << (double)v;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message, "Invalid floating point operation");
        }
    }
}

TEST(StrToInt, AcceptsSignedDecimalsWithin32Bits) {
    EXPECT_EQ(StrToInt("0"), 0);
    EXPECT_EQ(StrToInt("7"), 7);
    EXPECT_EQ(StrToInt("-12"), -12);
    EXPECT_EQ(StrToInt("+12"), 12);
    EXPECT_EQ(StrToInt("0000000000002147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
}

TEST(StrToInt, RefusesEverythingElseWithTheConversionMessage) {
    for (const std::string& text :
         std::vector<std::string>{"", "a", " 1", "1 ", "2147483648", "-2147483649",
                                  "99999999999999999999", "1.0", "+", std::string("1\0", 2)}) {
        try {
            StrToInt(text);
            FAIL() << "accepted '" << text << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message, "'" + text + "' is not a valid integer value");
        }
    }
}

}  // namespace
}  // namespace ribbon
