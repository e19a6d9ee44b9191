// EAN-8, EAN-13, UPC-A, UPC-E and the add-on symbols.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "tests/AssertionText.h"
#include "tests/engine/EngineTestUtil.h"

namespace ribbon {
namespace {

using test::Encode;
using test::ErrorOf;

// Patterns are written in groups (guards, digits) for reading; the groups are joined here.
std::string Ungrouped(std::string_view grouped) {
    std::string pattern;
    for (char c : grouped)
        if (c != ' ') pattern += c;
    return pattern;
}

struct EANCase {
    TBarType Type;
    std::string Data;
    TCheckSum CheckSum;
    std::string Pattern;
    std::string Text;
};

TEST(EANUPC, WorkedExamples) {
    const EANCase cases[] = {
        {bcCodeEAN13, "590123412345", csModulo10,
         "505 2506 0517 0616 1516 0805 1705 05050 6160 6061 5350 5071 5170 5251 505",
         "5901234123457"},
        {bcCodeEAN8, "9638507", csModulo10, "505 2506 0508 0805 0607 05050 5170 7150 5251 5071 505",
         "96385074"},
        {bcCodeEAN8, "96385074", csNone, "505 2506 0508 0805 0607 05050 5170 7150 5251 5071 505",
         "96385074"},
        {bcCodeUPC_E0, "4252614", csNone, "505 1705 1516 0715 1606 0508 1615 050505", "4252614"},
        // The check digit of 04210000526, the number written as UPC-A, is 4: the 0 given in its
        // place is replaced and the parities are EoEEoo.
        {bcCodeUPC_E0, "4252610", csModulo10, "505 1705 1516 0715 1606 0508 1615 050505",
         "4252614"},
        // Number system 1 reads the same row the other way: sets A, B, A, A, B, B.
        {bcCodeUPC_E1, "4252614", csNone, "505 0526 1606 0625 1516 3505 0616 050505", "4252614"},
        {bcCodeUPC_Supp5, "52495", csModulo10, "506 0715 05 1516 05 1705 05 2506 05 0625", "52495"},
        {bcCodeUPC_Supp5, "52495", csNone, "506 0715 05 1516 05 1705 05 2506 05 0625", "52495"},
        {bcCodeUPC_Supp2, "34", csModulo10, "506 0535 05 0526", "34"},
        {bcCodeUPC_Supp2, "34", csNone, "506 0535 05 0526", "34"},
        // 123 mod 4 = 3: both digits even; only 1 and 2 have bars.
        {bcCodeUPC_Supp2, "123", csModulo10, "506 0616 05 1606", "12"},
    };
    for (const EANCase& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.Type) << " " << c.Data << " " << int(c.CheckSum));
        const auto e = Encode(c.Type, c.Data, 1, 2.0, c.CheckSum);
        EXPECT_EQ(e.Pattern, Ungrouped(c.Pattern));
        EXPECT_EQ(e.Text, c.Text);
    }
    // 95 modules; at 3:1 the 2-, 3- and 4-module elements become 3, 4 and 6 pixels.
    EXPECT_EQ(Z_GetBarWidth(bcCodeEAN13, "590123412345", 1, 2.0, csModulo10), 95);
    EXPECT_EQ(Z_GetBarWidth(bcCodeEAN13, "590123412345", 1, 3.0, csModulo10), 123);
}

// Padding, check digits and display text: each case encodes the same symbol as data that
// needs neither, shows the digits the bars carry, and reports what changed.
TEST(EANUPC, PaddingAndCheckDigits) {
    struct Case {
        TBarType Type;
        std::string Data;
        TCheckSum CheckSum;
        std::string SameAs;  // encoded with csNone, and the text shown
        TDataChanges Changes;
    };
    const Case cases[] = {
        {bcCodeEAN13, "", csModulo10, "0000000000000", dcPadded},
        {bcCodeEAN13, "5901234123457", csNone, "5901234123457", 0},
        {bcCodeEAN13, "5901234123458", csNone, "5901234123458", dcWrongCheckDigit},
        {bcCodeEAN13, "59012", csNone, "0000000059012", dcPadded | dcWrongCheckDigit},
        {bcCodeEAN8, "12345670", csModulo10, "23456709", dcTruncated},  // the leading 1 dropped
        {bcCodeEAN8, "", csNone, "00000000", dcPadded},
        {bcCodeUPC_A, "12345678901", csModulo10, "012345678905", dcPadded | dcCheckDigitReplaced},
        {bcCodeUPC_A, "036000291452", csModulo10, "036000291452", 0},
        {bcCodeUPC_A, "12345", csNone, "000000012345", dcPadded | dcWrongCheckDigit},
        {bcCodeUPC_A, "1234567890123", csNone, "123456789012", dcTruncated},
        {bcCodeUPC_E0, "123456", csModulo10, "0123457", dcPadded | dcCheckDigitReplaced},
        {bcCodeUPC_E0, "1234565", csModulo10, "1234565", 0},
        {bcCodeUPC_E0, "123456", csNone, "0123456", dcPadded | dcWrongCheckDigit},
        {bcCodeUPC_E1, "", csModulo10, "0000007", dcPadded | dcCheckDigitReplaced},
        {bcCodeUPC_Supp5, "7", csModulo10, "00007", dcPadded},
        {bcCodeUPC_Supp5, "524951", csNone, "52495", dcTruncated},
        {bcCodeUPC_Supp2, "", csModulo10, "00", dcPadded},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.Type) << " '" << c.Data << "'");
        const auto e = Encode(c.Type, c.Data, 1, 2.0, c.CheckSum);
        EXPECT_EQ(e.Pattern, Encode(c.Type, c.SameAs).Pattern);
        EXPECT_EQ(e.Text, c.SameAs);
        EXPECT_EQ(e.Encoded, c.SameAs);
        EXPECT_EQ(e.Changes, c.Changes);
        EXPECT_EQ(e.Notice.empty(), c.Changes == 0) << e.Notice;
    }
}

// Too long for the symbol: refused in both editions, never cut short.
TEST(EANUPC, LengthAssertion) {
    struct Case {
        TBarType Type;
        std::string Data;
        TCheckSum CheckSum;
        const char* Name;
    };
    const Case cases[] = {
        {bcCodeEAN8, "123456789", csNone, "EAN8"},
        {bcCodeEAN13, "12345678901234", csNone, "EAN13"},
        {bcCodeEAN13, "1234567890123", csModulo10, "EAN13"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Data);
        EXPECT_THROW(Encode(c.Type, c.Data, 1, 2.0, c.CheckSum), EAssertionFailed);
        EXPECT_EQ(
            test::WithoutLineNumber(ErrorOf([&] { Encode(c.Type, c.Data, 1, 2.0, c.CheckSum); })),
            std::string(c.Name) + " : Invalid barcode length. (BarDef.cpp, line N)");
        EXPECT_THROW(Z_GetBarWidth(c.Type, c.Data, 1, 2.0, c.CheckSum), EAssertionFailed);
    }
    // EAN-8 with a check digit keeps only the last seven digits, so it never fires.
    EXPECT_EQ(Encode(bcCodeEAN8, "98765432101234567", 1, 2.0, csModulo10).Pattern,
              Encode(bcCodeEAN8, "1234567", 1, 2.0, csModulo10).Pattern);
}

TEST(UPCSupp2, ValueMustFitAnInteger) {
    EXPECT_EQ(ErrorOf([] { Encode(bcCodeUPC_Supp2, "2147483648"); }),
              "'2147483648' is not a valid integer value");
    // 2147483647 mod 4 = 3: both digits even; leading zeros do not count.
    EXPECT_EQ(Encode(bcCodeUPC_Supp2, "0002147483647").Pattern, Ungrouped("506 0517 05 0517"));
}

}  // namespace
}  // namespace ribbon
