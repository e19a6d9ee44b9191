// Code 128 and EAN-128: fixed code sets, the modulo-103 check, FNC1 and the lenient handling of
// characters without a value.

#include <gtest/gtest.h>

#include <string>

#include "tests/engine/SymbologyTestSupport.h"

namespace ribbon {
namespace {

using test::Encode;
using test::ErrorOf;
using test::FromCounts;

// Module counts of the standard's symbol table, for the values these tests need.
constexpr const char* StartA = "211412";
constexpr const char* StartB = "211214";
constexpr const char* StartC = "211232";
constexpr const char* Stop = "2331112";
constexpr const char* Space = "212222";  // value 0: a space in A and B, "00" in C
constexpr const char* FNC1 = "411131";   // value 102

struct Code128Case {
    const char* Name;
    TBarType Type;
    std::string Data;
    TCheckSum CheckSum;
    std::string Text;
    std::string Pattern;
};

void PrintTo(const Code128Case& c, std::ostream* os) {
    *os << c.Name;
}

class Code128Examples : public testing::TestWithParam<Code128Case> {};

TEST_P(Code128Examples, EncodesSymbolAndDisplayText) {
    const Code128Case& c = GetParam();
    const auto e = Encode(c.Type, c.Data, c.CheckSum);
    EXPECT_EQ(e.Pattern, c.Pattern);
    EXPECT_EQ(e.Text, c.Text);
}

INSTANTIATE_TEST_SUITE_P(
    Code128, Code128Examples,
    testing::Values(
        Code128Case{"B_AB", bcCode128B, "AB", csNone, "AB", "6051535052625250628050706270506"},
        Code128Case{"A_AB", bcCode128A, "AB", csModulo10, "AB", "6053515052625250627050806270506"},
        Code128Case{"A_SmallLetterIsSpace", bcCode128A, "a", csNone, "a",
                    "6053516061616061616270506"},
        Code128Case{"C_OddLengthPadded", bcCode128C, "123", csNone, "0123",
                    "6051716160617060706052706270506"},
        Code128Case{"EAN128C_NoCheck", bcCodeEAN128C, "12", csNone, "12",
                    "6051718050705061717150616270506"},
        // "12" + check 3 = "123", padded "0123": start C, FNC1, 01, 23, check 72, stop.
        Code128Case{"EAN128C_CheckBeforePadding", bcCodeEAN128C, "12", csModulo10, "0123",
                    FromCounts({StartC, FNC1, "222122", "312131", "122411", Stop})},
        Code128Case{"EAN128A_TakesBValues", bcCodeEAN128A, "12", csModulo10, "123",
                    "6053518050705171606171506150717080506270506"},
        // "a" is B value 65 after start A and FNC1; check 26.
        Code128Case{"EAN128A_SmallLetter", bcCodeEAN128A, "a", csNone, "a",
                    FromCounts({StartA, FNC1, "121124", "321221", Stop})},
        Code128Case{"EAN128B_Check", bcCodeEAN128B, "7", csModulo10, "79",
                    // 104 + 102 + 23*2 + 25*3 = 327 -> 18
                    FromCounts({StartB, FNC1, "312131", "321122", "223211", Stop})},
        Code128Case{"B_Empty", bcCode128B, "", csNone, "", "6051536160616270506"},
        Code128Case{"C_Empty", bcCode128C, "", csNone, "", FromCounts({StartC, "222221", Stop})},
        // Byte 202 is FNC1 in the middle of the data: 104 + 33 + 102*2 + 34*3 = 443 -> 31.
        Code128Case{"B_Byte202IsFNC1", bcCode128B,
                    "A\xCA"
                    "B",
                    csNone,
                    "A\xCA"
                    "B",
                    FromCounts({StartB, "111323", FNC1, "131123", "212321", Stop})},
        // Byte 195 is value 95, byte 201 value 101; the set A lookup goes on after them.
        Code128Case{"A_FunctionBytes", bcCode128A,
                    "\xC3"
                    "A\xC9",
                    csNone,
                    "\xC3"
                    "A\xC9",
                    // 103 + 95 + 33*2 + 101*3 = 567 -> 52
                    FromCounts({StartA, "114113", "111323", "311141", "213311", Stop})},
        // Controls, small letters and bytes 128..194 have no A value: spaces.
        Code128Case{"A_ControlsAndHighBytesAreSpaces", bcCode128A, "z\x01\x80\xC2", csNone,
                    "z\x01\x80\xC2", FromCounts({StartA, Space, Space, Space, Space, Space, Stop})},
        Code128Case{"B_DelIsSpace", bcCode128B, "\x7F", csNone, "\x7F",
                    FromCounts({StartB, Space, "222122", Stop})}),
    [](const testing::TestParamInfo<Code128Case>& info) { return std::string(info.param.Name); });

// The Code C function pairs exist in the desktop edition only; the web edition refuses such
// data as not numeric and keeps the three rows blank.
TEST(Code128C, FunctionPairsByEdition) {
    struct Case {
        std::string Data;
        std::string CheckCounts;  // value 102, 100, 101 added to start C 105
        std::string FunctionCounts;
    };
    for (const Case& c : {Case{"F1", "222122", FNC1}, Case{"CB", "411131", "114131"},
                          Case{"CA", "212222", "311141"}}) {
        SCOPED_TRACE(c.Data);
        std::string text;
        const std::string direct = EncodeCode128(bcCode128C, c.Data, csNone, text);
        if constexpr (WebEdition) {
            EXPECT_EQ(ErrorOf([&] { Encode(bcCode128C, c.Data); }),
                      c.Data + " : Barcode must be numeric.");
            EXPECT_EQ(direct, FromCounts({StartC, Space, "222221", Stop}));
        } else {
            EXPECT_EQ(Encode(bcCode128C, c.Data).Pattern,
                      FromCounts({StartC, c.FunctionCounts, c.CheckCounts, Stop}));
            EXPECT_EQ(direct, Encode(bcCode128C, c.Data).Pattern);
        }
    }
}

TEST(Code128C, WebEditionTrimsAndAcceptsDigitsOnly) {
    if constexpr (WebEdition) {
        EXPECT_EQ(Encode(bcCode128C, " 123\t").Text, "0123");
        EXPECT_EQ(ErrorOf([] { Encode(bcCode128C, "12AB"); }), "12AB : Barcode must be numeric.");
    } else {
        EXPECT_EQ(Encode(bcCode128C, " 123\t").Text, "0 123\t");
        // A pair without a value is encoded as "00" and still shown.
        const auto e = Encode(bcCode128C, "12AB");
        EXPECT_EQ(e.Pattern, "6051715061716061615161706270506");
        EXPECT_EQ(e.Text, "12AB");
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
    for (TBarType type : {bcCodeEAN128A, bcCodeEAN128B, bcCodeEAN128C}) {
        EXPECT_EQ(ErrorOf([&] { Encode(type, "A1", csModulo10); }),
                  WebEdition && type == bcCodeEAN128C ? "A1 : Barcode must be numeric."
                                                      : "'A' is not a valid integer value");
    }
}

}  // namespace
}  // namespace ribbon
