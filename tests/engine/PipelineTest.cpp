// The encoding pipeline shared by all symbologies: ratio clamps, width classes, validation,
// the catalogue and the shared check-digit helpers.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string_view>
#include <tuple>
#include <vector>

#include "engine/Encoders.h"
#include "engine/ZBarCode.h"
#include "tests/engine/EngineTestUtil.h"

namespace ribbon {
namespace {

using test::ErrorOf;

TEST(Pipeline, RatioIsClampedPerSymbologyAndWrittenBack) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        TBarType type;
        double given;
        double used;
    };
    const Case cases[] = {
        {bcCode39, 1.5, 2.0},          {bcCode39, 3.5, 3.0},
        {bcCode39, 2.7, 2.7},          {bcCode39, nan, 2.0},
        {bcCode39Extended, 0.0, 2.0},  {bcCode_2_5_matrix, 2.0, 2.25},
        {bcCode_2_5_matrix, 4.0, 3.0}, {bcCode_2_5_interleaved, 1.0, 2.0},
        {bcCodeCodabar, 9.0, 3.0},     {bcCodeEAN13, 1.0, 2.0},
        {bcCodeUPC_Supp5, 3.01, 3.0},  {bcCode93, 1.5, 1.5},
        {bcCode93, 7.0, 7.0},          {bcCode128B, 1.5, 1.5},
        {bcCodeMSI, 0.5, 0.5},         {bcCodePostNet, 4.0, 4.0},
        {bcCodeEAN128C, 1.0, 1.0},
    };
    for (const Case& c : cases) {
        const double ratio = EncodeBar(c.type, "", 1, c.given, csNone).Ratio;
        EXPECT_EQ(ratio, c.used) << Z_GetBarTypeName(c.type) << " given " << c.given;
    }
}

TEST(Pipeline, WidthClassesFollowModulAndTheRoundedWideWidth) {
    struct Case {
        TBarType type;
        int modul;
        double ratio;
        TBarWidths expected;
    };
    const Case cases[] = {
        {bcCode39, 1, 2.0, {1, 2, 3, 4}},
        {bcCode39, 1, 2.5, {1, 2, 3, 4}},    // 2.5 -> 2
        {bcCode39, 3, 2.5, {3, 8, 12, 16}},  // 7.5 -> 8
        {bcCode39, 2, 3.0, {2, 6, 9, 12}},
        {bcCode39, 1, 3.0, {1, 3, 4, 6}},    // 9 div 2
        {bcCode39, 2, 2.25, {2, 4, 6, 8}},   // 4.5 -> 4
        {bcCode39, 2, 2.75, {2, 6, 9, 12}},  // 5.5 -> 6
        {bcCode93, 2, 1.5, {2, 3, 4, 6}},
        {bcCode39, 1, 1.5, {1, 2, 3, 4}},
        {bcCode39, 0, 2.0, {0, 0, 0, 0}},
        {bcCode93, -2, 2.0, {-2, -4, -6, -8}},
        // Widths past 127 stay true rather than wrapping in 8 bits.
        {bcCode39, 21, 3.0, {21, 63, 94, 126}},
        {bcCode39, 22, 3.0, {22, 66, 99, 132}},
        {bcCode93, 49, 3.0, {49, 147, 220, 294}},
        {bcCode93, 200, 2.0, {200, 400, 600, 800}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(test::Encode(c.type, "AB", c.modul, c.ratio).Widths, c.expected)
            << Z_GetBarTypeName(c.type) << " modul " << c.modul << " ratio " << c.ratio;
    }
}

TEST(Pipeline, WideWidthsThatCannotBeRepresentedAreRefused) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double ratio : {nan, std::numeric_limits<double>::infinity(), 1e12}) {
        EXPECT_EQ(ErrorOf([&] { test::Encode(bcCode93, "A", 1, ratio); }),
                  "Bar width out of range.")
            << ratio;
    }
    EXPECT_EQ(
        ErrorOf([] { Z_GetBarWidth(bcCode93, "A", std::numeric_limits<int>::max(), 2.0, csNone); }),
        "Bar width out of range.");
}

TEST(Pipeline, UnknownSymbologiesAreRefusedBeforeTheTableIsRead) {
    for (int ordinal : {23, 100, 255}) {
        const auto type = static_cast<TBarType>(ordinal);
        EXPECT_EQ(ErrorOf([&] { test::Encode(type, "1"); }), "Wrong barcode type.") << ordinal;
        EXPECT_EQ(ErrorOf([&] { Z_GetBarTypeName(type); }), "Wrong barcode type.") << ordinal;
    }
}

TEST(Pipeline, NumericOnlySymbologiesRefuseTheFirstNonDigit) {
    struct Case {
        TBarType type;
        std::string data;
        std::string error;  // empty: the numeric test passes
    };
    const Case cases[] = {
        {bcCodeEAN13, "12a", "12a : Barcode must be numeric."},
        {bcCode_2_5_interleaved, "1 2", "1 2 : Barcode must be numeric."},
        {bcCodeMSI,
         std::string("1\0"
                     "2",
                     3),
         std::string("1\0"
                     "2 : Barcode must be numeric.",
                     30)},
        {bcCodePostNet, "\xff", "\xff : Barcode must be numeric."},
        {bcCodeUPC_A, "-1", "-1 : Barcode must be numeric."},
        {bcCodeCodabar, "12a", ""},  // not numeric-only: reaches its encoder
        {bcCode39, "12a", ""},
    };
    for (const Case& c : cases) {
        const std::string error = ErrorOf([&] { test::Encode(c.type, c.data); });
        if (c.error.empty())
            EXPECT_EQ(error.find("Barcode must be numeric."), std::string::npos) << c.data;
        else
            EXPECT_EQ(error, c.error);
    }
}

TEST(Pipeline, EmptyDataPassesTheNumericTestForEveryType) {
    for (int i = 0; i < BarTypeCount; ++i) {
        const std::string error = ErrorOf([&] { test::Encode(static_cast<TBarType>(i), ""); });
        EXPECT_EQ(error.find("Barcode must be numeric."), std::string::npos) << i;
    }
}

TEST(Pipeline, CodeCIsNumericOnlyInTheWebEditionOnly) {
    for (const auto& [edition, rules] : test::BothEditions) {
        const bool web = rules == WebRules;
        for (TBarType type : {bcCode128C, bcCodeEAN128C}) {
            SCOPED_TRACE(edition);
            EXPECT_EQ(Z_IsNumericOnly(type, rules), web);
            const std::string error =
                ErrorOf([&] { test::Encode(type, "12CB", 1, 2.0, csNone, rules); });
            if (web)
                EXPECT_EQ(error, "12CB : Barcode must be numeric.");
            else
                EXPECT_EQ(error.find("Barcode must be numeric."), std::string::npos);
        }
    }
    // The library's table answers for the desktop edition.
    EXPECT_FALSE(BCData[bcCode128C].NumericOnly);
}

TEST(Pipeline, TheWebEditionTrimsBlanksAndControlCharactersAroundTheData) {
    const std::string padded =
        " \t\x01"
        "AB\r\n ";
    for (const auto& [edition, rules] : test::BothEditions) {
        SCOPED_TRACE(edition);
        const bool web = rules == WebRules;
        const test::Encoded bare = test::Encode(bcCode39, "AB", 1, 2.0, csNone, rules);
        const test::Encoded e = test::Encode(bcCode39, padded, 1, 2.0, csNone, rules);
        // A space is a Code 39 character, so the desktop edition encodes the blanks.
        if (web)
            EXPECT_EQ(e.Pattern, bare.Pattern);
        else
            EXPECT_NE(e.Pattern, bare.Pattern);
        EXPECT_EQ(e.Text, padded);  // the text shown is the caller's, untrimmed
        // Blanks inside the data are kept, and trimming happens before the numeric test.
        EXPECT_EQ(ErrorOf([&] { test::Encode(bcCodeEAN13, " 1 2 ", 1, 2.0, csNone, rules); }),
                  web ? "1 2 : Barcode must be numeric." : " 1 2  : Barcode must be numeric.");
    }
}

TEST(Catalogue, NamesAndFlagsOfTheSymbologies) {
    const std::pair<TBarType, const char*> names[] = {
        {bcCode_2_5_interleaved, "Code25 interleaved"},
        {bcCode_2_5_matrix, "Code25 matrix"},
        {bcCode39Extended, "Code39 Extended"},
        {bcCode128C, "Code128C"},
        {bcCode93Extended, "Code93 Extended"},
        {bcCodeCodabar, "Codebar"},
        {bcCodeUPC_E1, "UPC_E1"},
        {bcCodeUPC_Supp5, "UPC Supp5"},
        {bcCodeEAN128C, "EAN128C"},
    };
    for (auto [type, name] : names) EXPECT_EQ(Z_GetBarTypeName(type), name);
    int numericOnly = 0;
    for (const TBCdata& row : BCData) numericOnly += row.NumericOnly;
    EXPECT_EQ(numericOnly, 12);
    for (const auto& [edition, rules] : test::BothEditions) {
        int count = 0;
        for (int i = 0; i < BarTypeCount; ++i) count += Z_IsNumericOnly(TBarType(i), rules);
        EXPECT_EQ(count, rules == WebRules ? 14 : 12) << edition;
    }
}

// The tool and the C interface read the catalogue's names through the public header only.
TEST(Catalogue, IdentifiersAndAliasesThroughThePublicFace) {
    const std::tuple<TBarType, std::string_view, std::vector<std::string_view>> rows[] = {
        {bcCode_2_5_interleaved, "bcCode_2_5_interleaved", {"i25", "interleaved25"}},
        {bcCode39, "bcCode39", {}},
        {bcCodeUPC_E0, "bcCodeUPC_E0", {"upce", "upce0", "upc-e"}},
        {bcCodeEAN128C, "bcCodeEAN128C", {"ean128c"}},
    };
    for (const auto& [type, identifier, aliases] : rows) {
        EXPECT_EQ(Z_GetBarTypeIdentifier(type), identifier);
        const auto given = Z_GetBarTypeAliases(type);
        EXPECT_EQ(std::vector<std::string_view>(given.begin(), given.end()), aliases) << identifier;
    }
    const auto beyond = static_cast<TBarType>(BarTypeCount);
    EXPECT_EQ(ErrorOf([&] { Z_GetBarTypeIdentifier(beyond); }), "Wrong barcode type.");
    EXPECT_EQ(ErrorOf([&] { Z_GetBarTypeAliases(beyond); }), "Wrong barcode type.");
    EXPECT_EQ(ErrorOf([&] { Z_IsNumericOnly(beyond, WebRules); }), "Wrong barcode type.");
}

TEST(GetBarLine, MapsTheAlphabetToWidthClassesAndColours) {
    const TBarWidths w{1, 20, 300, 4000};
    const std::pair<char, TBarLine> table[] = {
        {'0', {1, white}},       {'1', {20, white}},       {'2', {300, white}},
        {'3', {4000, white}},    {'5', {1, black}},        {'6', {20, black}},
        {'7', {300, black}},     {'8', {4000, black}},     {'A', {1, black_half}},
        {'B', {20, black_half}}, {'C', {300, black_half}}, {'D', {4000, black_half}},
    };
    for (auto [c, expected] : table) {
        const TBarLine line = GetBarLine(c, w);
        EXPECT_EQ(line.Width, expected.Width) << c;
        EXPECT_EQ(line.LineType, expected.LineType) << c;
    }
    for (char c : {'4', '9', 'E', 'a', ' ', '\0', '\xff'})
        EXPECT_EQ(ErrorOf([&] { GetBarLine(c, w); }), "Internal Error.") << int(c);
}

TEST(CountsToPattern, BarsAndSpacesAlternateFromABar) {
    EXPECT_EQ(CountsToPattern("211214"), "605153");
    EXPECT_EQ(CountsToPattern("2331112"), "6270506");
    EXPECT_EQ(CountsToPattern("111141"), "505080");
    EXPECT_EQ(CountsToPattern("44"), "83");
    EXPECT_EQ(CountsToPattern(""), "");
}

TEST(Modulo10, WeightsThreeAndOneFromTheRight) {
    const std::pair<const char*, const char*> cases[] = {
        {"12", "123"},
        {"400638133393", "4006381333931"},
        {"0", "00"},
        {"", "0"},
        {"590123412345", "5901234123457"},
        {"03600029145", "036000291452"},
        {"425261", "4252610"},
        {"9638507", "96385074"},
    };
    for (auto [in, out] : cases) EXPECT_EQ(AppendModulo10(in), out);
    EXPECT_EQ(ApplyCheckSum(csNone, "12"), "12");
    EXPECT_EQ(ApplyCheckSum(csModulo10, "12"), "123");
}

TEST(Modulo10, ANonDigitRaisesTheConversionErrorForTheFirstOne) {
    EXPECT_EQ(ErrorOf([] { AppendModulo10("A1"); }), "'A' is not a valid integer value");
    EXPECT_EQ(ErrorOf([] { AppendModulo10("1AB"); }), "'A' is not a valid integer value");
    EXPECT_EQ(ErrorOf([] { AppendModulo10("12 "); }), "' ' is not a valid integer value");
    EXPECT_EQ(ErrorOf([] { ApplyCheckSum(csNone, "A1"); }), "<no error>");
}

// What the bars carry when it is not the data as given, and the change reported with it.
TEST(Pipeline, ChangesToTheDataAreReported) {
    struct Case {
        TBarType Type;
        std::string Data;
        std::string Encoded;
        std::string Text;
        TDataChanges Changes;
    };
    const Case cases[] = {
        {bcCode39, "AB", "AB", "AB", 0},
        {bcCode39, "AbC", "AC", "AbC", dcLeftOut},  // the text still shows what was given
        {bcCode39Extended, "a\xE9", "a", "a\xE9", dcLeftOut},
        {bcCode93Extended, "\xE9x", "x", "\xE9x", dcLeftOut},
        {bcCode_2_5_interleaved, "123", "0123", "0123", dcPadded},
        {bcCode_2_5_interleaved, "1234", "1234", "1234", 0},
        {bcCode128B, "a\x80", "a ", "a ", dcReplaced},
        {bcCode128C, "123", "0123", "0123", dcPadded},
        {bcCodeMSI, "123", "123", "123", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.Type) << " " << c.Data);
        const TBarSymbol s = test::Encode(c.Type, c.Data);
        EXPECT_EQ(s.Encoded, c.Encoded);
        EXPECT_EQ(s.Text, c.Text);
        EXPECT_EQ(s.Changes, c.Changes);
        EXPECT_EQ(s.Notice.empty(), c.Changes == 0) << s.Notice;
    }
    // Interleaved 2 of 5 draws what it carries.
    EXPECT_EQ(test::Encode(bcCode_2_5_interleaved, "123").Pattern,
              test::Encode(bcCode_2_5_interleaved, "0123").Pattern);
}

}  // namespace
}  // namespace ribbon
