#include <gtest/gtest.h>

#include "base/Exceptions.h"
#include "base/Format.h"

namespace ribbon {
namespace {

TEST(Format, FillsConversionsInOrder) {
    EXPECT_EQ(Format("%s : %s", std::string("12a"), "Barcode must be numeric."),
              "12a : Barcode must be numeric.");
    EXPECT_EQ(Format("%s (%s, line %d)", "msg", "BarDef.cpp", 42), "msg (BarDef.cpp, line 42)");
    EXPECT_EQ(Format("%05d|%x|%.2f|%%", 42, 255u, 2.5), "00042|ff|2.50|%");
    EXPECT_EQ(Format("no conversions"), "no conversions");
}

TEST(Format, CopiesStringsByteForByte) {
    const std::string data("a\0b\xff", 4);
    EXPECT_EQ(Format("%s : %s", data, "x"), std::string("a\0b\xff : x", 8));
}

TEST(Format, MismatchedArgumentsRaiseInsteadOfReadingGarbage) {
    EXPECT_THROW(Format("%s %s", "only one"), Exception);
    EXPECT_THROW(Format("%d", "text"), Exception);
    EXPECT_THROW(Format("%s", 12), Exception);
    EXPECT_THROW(Format("%q", 1), Exception);
}

TEST(Assertion, CarriesTheSourceNameAndLine) {
    try {
        RIBBON_ASSERT(1 + 1 == 3, "EAN13 : Invalid barcode length.");
        FAIL();
    } catch (const EAssertionFailed& e) {
        const int line = __LINE__ - 3;
        EXPECT_EQ(e.Message,
                  Format("EAN13 : Invalid barcode length. (FormatTest.cpp, line %d)", line));
    }
}

}  // namespace
}  // namespace ribbon
