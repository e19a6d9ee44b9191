// The 2 of 5 family: Interleaved, Industrial and Matrix 2 of 5. Two widths, plus a bar of
// one and a half wide widths for the start and stop of Matrix 2 of 5.

#include <array>
#include <string_view>

#include "engine/Encoders.h"

namespace ribbon {
namespace {

// One row per digit: five elements, "1" wide and "0" narrow, weighted 1, 2, 4, 7 and parity.
constexpr std::array<std::string_view, 10> TwoOfFiveTable = {{
    "00110",  // 0
    "10001",  // 1
    "01001",  // 2
    "11000",  // 3
    "00101",  // 4
    "10100",  // 5
    "01100",  // 6
    "00011",  // 7
    "10010",  // 8
    "01010",  // 9
}};

constexpr bool IsWide(std::string_view row, int element) {
    return row[element] == '1';
}

std::string_view RowOf(char digit) {
    return TwoOfFiveTable[DigitValue(digit)];
}

}  // namespace

TEncoded EncodeCode25Interleaved(const std::string& Data) {
    TEncoded e;
    e.Show(Data);
    // Bars carry the first digit of a pair, spaces the second, so an odd count gets a leading 0.
    if (e.Carried.size() % 2 != 0) {
        e.Carried.insert(e.Carried.begin(), '0');
        e.Note(dcPadded, "a 0 added in front to make the digit count even");
    }
    const std::string& digits = e.Carried;
    std::string& pattern = e.Pattern;
    pattern = "5050";
    pattern.reserve(4 + 10 * (digits.size() / 2) + 3);
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const std::string_view bars = RowOf(digits[i]);
        const std::string_view spaces = RowOf(digits[i + 1]);
        for (int j = 0; j < 5; ++j) {
            pattern += IsWide(bars, j) ? '6' : '5';
            pattern += IsWide(spaces, j) ? '1' : '0';
        }
    }
    pattern += "605";
    return e;
}

std::string EncodeCode25Industrial(const std::string& Data) {
    // Only the bars carry information; every bar is followed by a narrow space.
    std::string pattern = "606050";
    pattern.reserve(6 + 10 * Data.size() + 6);
    for (char digit : Data) {
        const std::string_view row = RowOf(digit);
        for (int j = 0; j < 5; ++j) pattern += IsWide(row, j) ? "60" : "50";
    }
    pattern += "605060";
    return pattern;
}

std::string EncodeCode25Matrix(const std::string& Data) {
    std::string pattern = "705050";
    pattern.reserve(6 + 6 * Data.size() + 5);
    for (char digit : Data) {
        const std::string_view row = RowOf(digit);
        for (int j = 0; j < 5; ++j) {
            const bool bar = j % 2 == 0;
            pattern += bar ? (IsWide(row, j) ? '6' : '5') : (IsWide(row, j) ? '1' : '0');
        }
        pattern += '0';  // gap between characters
    }
    pattern += "70505";
    return pattern;
}

}  // namespace ribbon
