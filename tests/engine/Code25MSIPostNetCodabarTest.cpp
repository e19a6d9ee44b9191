// The 2 of 5 family, MSI, PostNet and Codabar.

#include <gtest/gtest.h>

#include <string>

#include "tests/engine/EngineTestUtil.h"

namespace ribbon {
namespace {

using test::Encode;
using test::ErrorOf;

struct PatternCase {
    TBarType Type;
    std::string Data;
    std::string Pattern;
};

// None of these six takes the check-sum option, and none rewrites the display text.
TEST(TwoWidthSymbologies, EncodeExamplesWithEitherCheckOption) {
    const PatternCase cases[] = {
        {bcCode_2_5_interleaved, "1234", "505060515050616060515051605"},
        {bcCode_2_5_interleaved, "", "5050605"},
        {bcCode_2_5_industrial, "12", "60605060505050605060505060605060"},
        {bcCode_2_5_industrial, "", "606050605060"},
        {bcCode_2_5_matrix, "12", "70505060506051506070505"},
        {bcCode_2_5_matrix, "", "70505070505"},
        {bcCodeMSI, "1234", "605151516051516051515160605160515151605151515"},
        {bcCodeMSI, "", "6051515151515"},
        {bcCodeMSI, "0", "605151515151515151515"},
        {bcCodePostNet, "12", "51A1A1A15151A1A151A1515"},
        {bcCodePostNet, "", "515"},
        {bcCodeCodabar, "12", "5061515050506150505150605151506"},
        // Start A, then A, 1 and B as data, then stop B.
        {bcCodeCodabar, "A1B", "506151505061515050506150515150605151506"},
    };
    for (const PatternCase& c : cases) {
        for (TCheckSum checkSum : {csNone, csModulo10}) {
            SCOPED_TRACE(testing::Message()
                         << int(c.Type) << " '" << c.Data << "' " << int(checkSum));
            const auto e = Encode(c.Type, c.Data, 1, 2.0, checkSum);
            EXPECT_EQ(e.Pattern, c.Pattern);
            EXPECT_EQ(e.Text, c.Data);
        }
    }
}

// The check digit is the last character before the stop, eight elements of wide/narrow bits.
int MSICheckDigit(const std::string& pattern) {
    const std::string bits = pattern.substr(pattern.size() - 3 - 8, 8);
    int digit = 0;
    for (std::size_t i = 0; i < bits.size(); i += 2) digit = 2 * digit + (bits[i] == '6' ? 1 : 0);
    return digit;
}

// The MSI rule digit by digit: every odd-position digit doubled and its digits added.
int ReferenceMSICheck(const std::string& data) {
    int total = 0;
    for (std::size_t i = 0; i < data.size(); ++i) {
        const int d = data[i] - '0';
        const bool odd = (data.size() - i) % 2 == 1;
        total += odd ? (2 * d) / 10 + (2 * d) % 10 : d;
    }
    return (10 - total % 10) % 10;
}

TEST(MSI, CheckDigit) {
    const std::pair<std::string, int> cases[] = {
        {"1234", 4}, {"1234567", 4}, {"12", 5}, {"80523", 4}, {"", 0}, {"9", 1},
    };
    for (const auto& [data, check] : cases)
        EXPECT_EQ(MSICheckDigit(Encode(bcCodeMSI, data).Pattern), check) << data;
}

// Far beyond what a machine integer holds: the doubled number is exact.
TEST(MSI, CheckDigitOfLongData) {
    for (const std::string& data :
         {std::string(40, '9'), std::string(41, '7'), std::string("98765432109876543210987654321"),
          std::string(301, '5') + "1"}) {
        EXPECT_EQ(MSICheckDigit(Encode(bcCodeMSI, data).Pattern), ReferenceMSICheck(data)) << data;
    }
    EXPECT_EQ(DigitSum(""), 0);
    EXPECT_EQ(DigitSum("19999999999999999999998"), 1 + 9 * 21 + 8);
}

TEST(Codabar, RefusesCharactersOutsideItsTable) {
    for (const std::string& data : {std::string("12a"), std::string("a"), std::string("1 2"),
                                    std::string("1\x80"), std::string("\xFF"),
                                    std::string("1\0"
                                                "2",
                                                3),
                                    std::string("E")}) {
        EXPECT_EQ(ErrorOf([&] { Encode(bcCodeCodabar, data); }), data + " : Codabar bad data.");
    }
}

}  // namespace
}  // namespace ribbon
