// Our symbols against zint's, module for module. zint --dump prints each row of a symbol as hex
// bytes, a bar module being a 1 bit. Where the two encoders' conventions differ (zint draws the
// 2 of 5 codes with a 3:1 ratio, adds PostNet's check digit itself, wants Codabar's start and
// stop in the data) the cases are set up so that both describe the same symbol.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/engine/SymbologyTestSupport.h"

namespace ribbon {
namespace {

std::string ShellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// The rows of zint's symbol as module strings, trailing padding included.
std::vector<std::string> ZintRows(int type, const std::string& options, const std::string& data) {
    const std::string cmd = ShellQuote(RIBBON_ZINT) + " --dump -b " + std::to_string(type) + " " +
                            options + " --data=" + ShellQuote(data) + " 2>/dev/null";
    std::string out;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return {};
    std::array<char, 4096> buf;
    std::size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
    const int status = pclose(p);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return {};

    std::vector<std::string> rows;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream tokens(line);
        std::string row;
        for (std::string hex; tokens >> hex;) {
            for (char digit : hex) {
                const int v = std::stoi(std::string(1, digit), nullptr, 16);
                for (int bit = 3; bit >= 0; --bit) row += (v >> bit) & 1 ? '1' : '0';
            }
        }
        if (!row.empty()) rows.push_back(row);
    }
    return rows;
}

// Neither symbol has a quiet zone in front; whatever follows the last bar is padding.
std::string TrimSpaceAfter(std::string modules) {
    modules.erase(modules.find_last_not_of('0') + 1);
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
    switch (d[5]) {
        case '0':
        case '1':
        case '2':
            a = d.substr(0, 2) + d[5] + "0000" + d.substr(2, 3);
            break;
        case '3':
            a = d.substr(0, 3) + "00000" + d.substr(3, 2);
            break;
        case '4':
            a = d.substr(0, 4) + "00000" + d[4];
            break;
        default:
            a = d.substr(0, 5) + "0000" + d[5];
            break;
    }
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
        }
    }

    // The add-ons alone; the five-digit one for every check value.
    checks.clear();
    for (int i = 0; checks.size() < 10; ++i) {
        char five[6];
        std::snprintf(five, sizeof five, "%05d", (i * 12347) % 100000);
        if (checks.insert(static_cast<char>('0' + AddOnCheck(five))).second)
            add(std::string("Supp5_") + five, EANX, "", five, bcCodeUPC_Supp5, five, csNone, 2.0);
    }
    for (const std::string data : {"00", "01", "02", "03", "34", "47", "99"})
        add("Supp2_" + data, EANX, "", data, bcCodeUPC_Supp2, data, csNone, 2.0);

    // zint draws the 2 of 5 codes 3:1.
    for (const std::string data : {"1234567890", "0987654321"})
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

class ZintOracle : public testing::TestWithParam<OracleCase> {};

TEST_P(ZintOracle, SameModules) {
    const OracleCase& c = GetParam();
    const std::vector<std::string> zint = ZintRows(c.ZintType, c.ZintOptions, c.ZintData);
    ASSERT_EQ(zint.size(), 1u) << "zint (" RIBBON_ZINT ") gave no symbol for '" << c.ZintData
                               << "' (scripts/setup.sh installs it)";
    const auto ours = test::Encode(c.Type, c.Data, c.CheckSum, c.Ratio);
    EXPECT_EQ(TrimSpaceAfter(test::Modules(ours)), TrimSpaceAfter(zint[0]));
}

INSTANTIATE_TEST_SUITE_P(Symbols, ZintOracle, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<OracleCase>& info) {
                             return info.param.Name;
                         });

// Codabar data may hold C and D, which zint accepts only as start and stop: our symbol for
// "C0D" is zint's "C0D" framed by our start A and stop B.
TEST(ZintOracleCodabar, CAndD) {
    const std::vector<std::string> zint = ZintRows(18, "", "C0D");
    ASSERT_EQ(zint.size(), 1u);
    const std::string ours = test::Modules(test::Encode(bcCodeCodabar, "C0D"));
    const std::string start = test::Modules(test::Encode(bcCodeCodabar, ""));
    const std::size_t startAndGap = 11;  // "A" is 10 modules at 2:1, then a one-module gap
    ASSERT_EQ(start.size(), 2 * startAndGap - 1);
    EXPECT_EQ(ours.substr(startAndGap, TrimSpaceAfter(zint[0]).size()), TrimSpaceAfter(zint[0]));
}

// PostNet has tall and short bars: zint's first row holds the tall bars only, its second all of
// them. zint appends the correction digit, so our data carries it.
TEST(ZintOraclePostNet, TallAndShortBars) {
    for (const std::string data : {"12345", "987654321", "01234567890"}) {
        int sum = 0;
        for (char c : data) sum += c - '0';
        const std::string withCheck = data + static_cast<char>('0' + (10 - sum % 10) % 10);
        const std::vector<std::string> zint = ZintRows(40, "", data);
        ASSERT_EQ(zint.size(), 2u) << data;

        const auto ours = test::Encode(bcCodePostNet, withCheck, csNone, 1.0);  // pitch 2
        std::string tall, all;
        for (char element : ours.Pattern) {
            const TBarLine line = GetBarLine(element, ours.Widths);
            const std::size_t w = static_cast<std::size_t>(line.Width);
            tall.append(w, line.LineType == black ? '1' : '0');
            all.append(w, line.LineType == white ? '0' : '1');
        }
        EXPECT_EQ(TrimSpaceAfter(tall), TrimSpaceAfter(zint[0])) << data;
        EXPECT_EQ(TrimSpaceAfter(all), TrimSpaceAfter(zint[1])) << data;
    }
}

}  // namespace
}  // namespace ribbon
