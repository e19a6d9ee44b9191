// Code 128 and EAN-128: fixed code sets, the modulo-103 check, FNC1 and the lenient handling of
// characters without a value.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "tests/engine/EngineTestUtil.h"

namespace ribbon {
namespace {

using test::Encode;
using test::ErrorOf;

// Module counts of consecutive symbol characters, joined and turned into a pattern.
std::string FromCounts(std::initializer_list<std::string_view> symbols) {
    std::string counts;
    for (std::string_view s : symbols) counts += s;
    return CountsToPattern(counts);
}

// Module counts of the standard's symbol table, for the values these tests need.
constexpr const char* StartA = "211412";
constexpr const char* StartB = "211214";
constexpr const char* StartC = "211232";
constexpr const char* Stop = "2331112";
constexpr const char* Space = "212222";  // value 0: a space in A and B, "00" in C
constexpr const char* FNC1 = "411131";   // value 102

TEST(Code128, EncodesSymbolAndDisplayText) {
    struct Case {
        TBarType Type;
        std::string Data;
        TCheckSum CheckSum;
        std::string Text;
        std::string Pattern;
    };
    const Case cases[] = {
        {bcCode128B, "AB", csNone, "AB", "6051535052625250628050706270506"},
        {bcCode128A, "AB", csModulo10, "AB", "6053515052625250627050806270506"},
        {bcCode128A, "a", csNone, " ", "6053516061616061616270506"},  // "a" encoded as a space
        {bcCode128C, "123", csNone, "0123", "6051716160617060706052706270506"},
        {bcCodeEAN128C, "12", csNone, "12", "6051718050705061717150616270506"},
        // "12" + check 3 = "123", padded "0123": start C, FNC1, 01, 23, check 72, stop.
        {bcCodeEAN128C, "12", csModulo10, "0123",
         FromCounts({StartC, FNC1, "222122", "312131", "122411", Stop})},
        {bcCodeEAN128A, "12", csModulo10, "123", "6053518050705171606171506150717080506270506"},
        // EAN-128 A takes B values: "a" is 65 after start A and FNC1; check 26.
        {bcCodeEAN128A, "a", csNone, "a", FromCounts({StartA, FNC1, "121124", "321221", Stop})},
        // 104 + 102 + 23*2 + 25*3 = 327 -> 18
        {bcCodeEAN128B, "7", csModulo10, "79",
         FromCounts({StartB, FNC1, "312131", "321122", "223211", Stop})},
        {bcCode128B, "", csNone, "", "6051536160616270506"},
        {bcCode128C, "", csNone, "", FromCounts({StartC, "222221", Stop})},
        // Byte 202 (octal 312) is FNC1 in the data: 104 + 33 + 102*2 + 34*3 = 443 -> 31.
        {bcCode128B, "A\312B", csNone, "A\312B",
         FromCounts({StartB, "111323", FNC1, "131123", "212321", Stop})},
        // Bytes 195 and 201 are values 95 and 101; the A lookup goes on after them (-> 52).
        {bcCode128A, "\303A\311", csNone, "\303A\311",
         FromCounts({StartA, "114113", "111323", "311141", "213311", Stop})},
        // Small letters and bytes 128..194 have no A value; the controls are 64..95 in A and DEL
        // is 95 in B. 103 + 65*2 = 233 -> 27; 104 + 95 = 199 -> 96.
        {bcCode128A, "z\001\200\302", csNone, " \001  ",
         FromCounts({StartA, Space, "121124", Space, Space, "312212", Stop})},
        {bcCode128B, "\177", csNone, "\177", FromCounts({StartB, "114113", "114311", Stop})},
        // EAN-128 A: controls at their A values (SOH 65 between 17 and 18: 506 -> 94), DEL none.
        {bcCodeEAN128A, "1\0012", csNone, "1\0012",
         FromCounts({StartA, FNC1, "123221", "121124", "223211", "131141", Stop})},
        {bcCodeEAN128A, "\177", csNone, " ", FromCounts({StartA, FNC1, Space, FNC1, Stop})},
    };
    for (const Case& c : cases) {
        const auto e = Encode(c.Type, c.Data, 1, 2.0, c.CheckSum);
        EXPECT_EQ(e.Pattern, c.Pattern) << int(c.Type) << " " << c.Data;
        EXPECT_EQ(e.Text, c.Text) << int(c.Type) << " " << c.Data;
    }
}

// The Code C function pairs exist under the desktop rules only; the web rules refuse such data
// as not numeric and give the three rows no pair.
TEST(Code128C, FunctionPairsByEdition) {
    struct Case {
        std::string Data;
        std::string CheckCounts;  // value 102, 100, 101 added to start C 105
        std::string FunctionCounts;
    };
    for (const auto& [edition, rules] : test::BothEditions) {
        for (const Case& c : {Case{"F1", "222122", FNC1}, Case{"CB", "411131", "114131"},
                              Case{"CA", "212222", "311141"}}) {
            SCOPED_TRACE(std::string(edition) + " " + c.Data);
            const std::string direct = EncodeCode128(bcCode128C, c.Data, csNone, rules).Pattern;
            if (rules.DigitsOnlyCodeC) {
                EXPECT_EQ(ErrorOf([&] { Encode(bcCode128C, c.Data, 1, 2.0, csNone, rules); }),
                          c.Data + " : Barcode must be numeric.");
                EXPECT_EQ(direct, FromCounts({StartC, Space, "222221", Stop}));
            } else {
                EXPECT_EQ(Encode(bcCode128C, c.Data, 1, 2.0, csNone, rules).Pattern,
                          FromCounts({StartC, c.FunctionCounts, c.CheckCounts, Stop}));
                EXPECT_EQ(direct, Encode(bcCode128C, c.Data).Pattern);
            }
        }
    }
}

// Weights keep rising past 103 symbols; the check must equal the sum taken the long way.
TEST(Code128C, CheckOverLongData) {
    std::string data;
    long long sum = 105;
    for (int i = 1; i <= 150; ++i) {
        const int value = (i * 37) % 100;
        data += std::to_string(100 + value).substr(1);
        sum += static_cast<long long>(value) * i;
    }
    const int check = static_cast<int>(sum % 103);
    ASSERT_LT(check, 100) << "pick other data: the check must be a digit pair";
    const std::string pattern = Encode(bcCode128C, data).Pattern;

    // The row of the check value, read from a one-pair symbol.
    const std::string pair = std::to_string(100 + check).substr(1);
    const std::string expected = Encode(bcCode128C, pair).Pattern.substr(6, 6);
    EXPECT_EQ(pattern.substr(pattern.size() - 13, 6), expected);
}

TEST(Code128, RefusesBytesBeyondTheTable) {
    for (TBarType type : {bcCode128A, bcCode128B, bcCodeEAN128A, bcCodeEAN128B}) {
        for (int byte : {203, 230, 255}) {
            const std::string data = std::string("AB") + static_cast<char>(byte) + "C";
            SCOPED_TRACE(testing::Message() << int(type) << " byte " << byte);
            EXPECT_EQ(ErrorOf([&] { Encode(type, data); }), data + " : Code128 bad data.");
        }
    }
}

TEST(EAN128, CheckDigitNeedsDigits) {
    for (const auto& [edition, rules] : test::BothEditions) {
        for (TBarType type : {bcCodeEAN128A, bcCodeEAN128B, bcCodeEAN128C}) {
            SCOPED_TRACE(edition);
            EXPECT_EQ(ErrorOf([&] { Encode(type, "A1", 1, 2.0, csModulo10, rules); }),
                      rules == WebRules && type == bcCodeEAN128C
                          ? "A1 : Barcode must be numeric."
                          : "'A' is not a valid integer value");
        }
    }
}

}  // namespace
}  // namespace ribbon
