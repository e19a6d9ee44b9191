// Our symbols against zint's, module for module. Where the two encoders' conventions differ
// (zint draws the 2 of 5 codes 3:1, adds PostNet's check digit itself and wants Codabar's start
// and stop in the data) the cases are set up so that both describe the same symbol.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/engine/EngineTestUtil.h"
#include "tests/oracle/ZintOracle.h"

namespace ribbon {
namespace {

// The symbol as pixels at the widths it was encoded with: "1" bar, "0" space. With
// shortAsSpace, PostNet's short bars count as spaces (what zint's row of tall bars shows).
std::string ModulesAt(const test::Encoded& e, bool shortAsSpace = false) {
    std::string modules;
    for (char element : e.Pattern) {
        const TBarLine line = GetBarLine(element, e.Widths);
        const bool bar = line.LineType == black || (line.LineType == black_half && !shortAsSpace);
        modules.append(static_cast<std::size_t>(line.Width), bar ? '1' : '0');
    }
    return modules;
}

struct OracleCase {
    std::string Name;
    int ZintType;
    std::string ZintOptions;
    std::string ZintData;
    TBarType Type;
    std::string Data;
    TCheckSum CheckSum;
    double Ratio;
};

// UPC-E check digit: that of the UPC-A number the six digits stand for.
char UPCECheckDigit(char numberSystem, const std::string& d) {
    std::string a;
    if (d[5] <= '2')
        a = d.substr(0, 2) + d[5] + "0000" + d.substr(2, 3);
    else if (d[5] == '3')
        a = d.substr(0, 3) + "00000" + d.substr(3, 2);
    else if (d[5] == '4')
        a = d.substr(0, 4) + "00000" + d[4];
    else
        a = d.substr(0, 5) + "0000" + d[5];
    a = numberSystem + a;
    int sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i) sum += (a[i] - '0') * (i % 2 == 0 ? 3 : 1);
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

// Six digits that zint accepts: each zero-suppression form must be the only one for its number.
bool IsCanonicalUPCE(const std::string& d) {
    if (d[5] >= '5') return d[4] != '0';
    if (d[5] == '4') return d[3] != '0';
    if (d[5] == '3') return d[2] >= '3';
    return true;
}

int AddOnCheck(const std::string& five) {
    const auto d = [&](int i) { return five[i] - '0'; };
    return (3 * (d(0) + d(2) + d(4)) + 9 * (d(1) + d(3))) % 10;
}

std::vector<OracleCase> Cases() {
    constexpr int CODE128 = 20, CODE128B = 60, GS1_128 = 16, EANX = 13, UPCA = 34, UPCE = 37,
                  C25INTER = 3, C25IND = 7, C25STANDARD = 2, CODABAR = 18, MSI_PLESSEY = 47;
    std::vector<OracleCase> cases;
    const auto add = [&](std::string name, int zintType, std::string options, std::string zintData,
                         TBarType type, std::string data, TCheckSum checkSum, double ratio) {
        cases.push_back({std::move(name), zintType, std::move(options), std::move(zintData), type,
                         std::move(data), checkSum, ratio});
    };

    // Code 39 and Code 93. The full-ASCII forms write "-" and "." as "/M" and "/N" where zint
    // keeps them as they are (both read back the same), so the extended cases leave those out.
    constexpr int CODE39 = 8, EXCODE39 = 9, CODE93 = 25;
    const auto same = [&](std::string name, int zintType, TBarType type, std::string data,
                          TCheckSum checkSum) {
        add(std::move(name), zintType, checkSum == csModulo10 ? "--vers=1" : "", data, type, data,
            checkSum, 2.0);
    };
    same("Code39_Plain", CODE39, bcCode39, "CODE39", csNone);
    same("Code39_Check", CODE39, bcCode39, "CODE39", csModulo10);
    same("Code39_Digits", CODE39, bcCode39, "0123456789", csModulo10);
    same("Code39_AllCharacters", CODE39, bcCode39, "ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%", csNone);
    same("Code39_HelloWorld", CODE39, bcCode39, "HELLO WORLD", csModulo10);
    same("Code39_CheckValue0", CODE39, bcCode39, "Z8", csModulo10);
    same("Code39Ext_Punctuation", EXCODE39, bcCode39Extended, "Ab,c;1/x:@[_`{~", csNone);
    same("Code39Ext_LowerCase", EXCODE39, bcCode39Extended, "lower case", csModulo10);
    same("Code93_Plain", CODE93, bcCode93, "TEST93", csNone);
    same("Code93_AB", CODE93, bcCode93, "AB", csNone);
    same("Code93_AllCharacters", CODE93, bcCode93, "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%",
         csNone);
    same("Code93Ext_FullAscii", CODE93, bcCode93Extended, "Full ASCII: a,z {|} ~!", csNone);
    same("Code93Ext_Address", CODE93, bcCode93Extended, "ribbonkit@example_org", csNone);

    // Code 128 B: every character of the set (zint takes 60 at most per symbol).
    std::string setB;
    for (int c = 32; c < 127; ++c) setB += static_cast<char>(c);
    add("Code128B_AB", CODE128B, "", "AB", bcCode128B, "AB", csNone, 2.0);
    add("Code128B_First48", CODE128B, "", setB.substr(0, 48), bcCode128B, setB.substr(0, 48),
        csNone, 2.0);
    add("Code128B_Rest", CODE128B, "", setB.substr(48), bcCode128B, setB.substr(48), csNone, 2.0);
    // Code 128 C: every digit pair. Even-length digits leave zint's automatic choice at set C.
    for (int half = 0; half < 2; ++half) {
        std::string digits;
        for (int v = 50 * half; v < 50 * half + 50; ++v) {
            digits += static_cast<char>('0' + v / 10);
            digits += static_cast<char>('0' + v % 10);
        }
        add("Code128C_Pairs" + std::to_string(half), CODE128, "", digits, bcCode128C, digits,
            csNone, 2.0);
    }
    // The control characters of set A and DEL of set B (zint starts in the set they need).
    add("Code128A_Controls", CODE128, "--esc", "\\x01AB\\x1F", bcCode128A,
        "\x01"
        "AB\x1F",
        csNone, 2.0);
    add("Code128B_Delete", CODE128, "--esc", "a\\x7Fb", bcCode128B,
        "a\x7F"
        "b",
        csNone, 2.0);
    add("EAN128C_GTIN", GS1_128, "", "[01]12345678901231", bcCodeEAN128C, "0112345678901231",
        csNone, 2.0);

    // EAN-13 for every leading digit (and so every parity row).
    for (int f = 0; f < 10; ++f) {
        std::string data(1, static_cast<char>('0' + f));
        for (int k = 1; k <= 11; ++k) data += static_cast<char>('0' + (f + 3 * k) % 10);
        add("EAN13_Lead" + std::to_string(f), EANX, "", data, bcCodeEAN13, data, csModulo10, 2.0);
    }
    for (const std::string data : {"9638507", "0123456", "7890123", "4567890"})
        add("EAN8_" + data, EANX, "", data, bcCodeEAN8, data, csModulo10, 2.0);
    // Our UPC-A takes the check digit's place in the data and recomputes it.
    for (const std::string data : {"03600029145", "12345678901", "98765432109"})
        add("UPCA_" + data, UPCA, "", data, bcCodeUPC_A, data + "0", csModulo10, 2.0);

    // UPC-E in both number systems, for data that reaches every check digit.
    std::set<char> checks;
    for (int i = 1; checks.size() < 10 || i <= 12; ++i) {
        std::string six = std::to_string(100000 + (i * 7919) % 900000);
        if (!IsCanonicalUPCE(six)) continue;
        for (char ns : {'0', '1'}) {
            const char k = UPCECheckDigit(ns, six);
            if (ns == '0') checks.insert(k);
            add(std::string("UPCE") + ns + "_" + six + k, UPCE, "", ns + six + k,
                ns == '0' ? bcCodeUPC_E0 : bcCodeUPC_E1, six + k, csNone, 2.0);
            // The check digit option finds the same digit in the place given for it.
            add(std::string("UPCE") + ns + "_" + six + "_Check", UPCE, "", ns + six,
                ns == '0' ? bcCodeUPC_E0 : bcCodeUPC_E1, six + "0", csModulo10, 2.0);
        }
    }

    // The add-ons alone; the five-digit one for every check value.
    checks.clear();
    for (int i = 0; checks.size() < 10; ++i) {
        const std::string five = std::to_string(100000 + (i * 12347) % 100000).substr(1);
        if (checks.insert(static_cast<char>('0' + AddOnCheck(five))).second)
            add(std::string("Supp5_") + five, EANX, "", five, bcCodeUPC_Supp5, five, csNone, 2.0);
    }
    for (const std::string data : {"00", "01", "02", "03", "34", "47", "99"})
        add("Supp2_" + data, EANX, "", data, bcCodeUPC_Supp2, data, csNone, 2.0);

    // zint draws the 2 of 5 codes 3:1.
    // An odd count gets a leading 0 in both.
    for (const std::string data : {"1234567890", "0987654321", "12345"})
        add("I25_" + data, C25INTER, "", data, bcCode_2_5_interleaved, data, csNone, 3.0);
    add("Industrial25", C25IND, "", "1234567890", bcCode_2_5_industrial, "1234567890", csNone, 3.0);
    add("Matrix25", C25STANDARD, "", "1234567890", bcCode_2_5_matrix, "1234567890", csNone, 3.0);

    add("Codabar", CODABAR, "", "A0123456789-$:/.+B", bcCodeCodabar, "0123456789-$:/.+", csNone,
        2.0);

    for (const std::string data : {"1234567", "80523", "0", "9", "123456789012345678901234567890"})
        add("MSI_" + data, MSI_PLESSEY, "--vers=1", data, bcCodeMSI, data, csNone, 2.0);
    return cases;
}

void PrintTo(const OracleCase& c, std::ostream* os) {
    *os << c.Name;
}

class ZintSymbols : public testing::TestWithParam<OracleCase> {};

TEST_P(ZintSymbols, SameModules) {
    const OracleCase& c = GetParam();
    const auto zint = test::ZintModules(c.ZintType, c.ZintData, c.ZintOptions);
    ASSERT_TRUE(zint.has_value()) << "zint gave no symbol for '" << c.ZintData
                                  << "' (scripts/setup.sh installs it)";
    const std::string ours = ModulesAt(test::Encode(c.Type, c.Data, 1, c.Ratio, c.CheckSum));
    EXPECT_TRUE(test::SameModules(ours, *zint)) << "\nours: " << ours << "\nzint: " << *zint;
}

INSTANTIATE_TEST_SUITE_P(Symbols, ZintSymbols, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<OracleCase>& info) {
                             return info.param.Name;
                         });

// zint takes C and D only as start and stop: its "C0D" is our "C0D" without our start A and
// stop B, ten modules each at 2:1, and the gaps after them.
TEST(ZintCodabar, CAndDInsideTheData) {
    const auto zint = test::ZintModules(18, "C0D");
    ASSERT_TRUE(zint.has_value());
    const std::string ours = ModulesAt(test::Encode(bcCodeCodabar, "C0D"));
    EXPECT_TRUE(test::SameModules(ours.substr(11, ours.size() - 22), *zint));
}

// zint dumps PostNet as two rows, the tall bars and then all bars, each padded to whole hex
// digits. Our data carries the correction digit that zint appends.
TEST(ZintPostNet, TallAndShortBars) {
    const auto padded = [](std::string row) { return row.append((4 - row.size() % 4) % 4, '0'); };
    for (const std::string data : {"12345", "987654321", "01234567890"}) {
        int sum = 0;
        for (char c : data) sum += c - '0';
        const auto ours = test::Encode(bcCodePostNet, data + char('0' + (10 - sum % 10) % 10), 1,
                                       1.0);  // bars and spaces one module each
        const auto zint = test::ZintModules(40, data);
        ASSERT_TRUE(zint.has_value()) << data;
        EXPECT_EQ(padded(ModulesAt(ours, true)) + padded(ModulesAt(ours)), *zint) << data;
    }
}

}  // namespace
}  // namespace ribbon
