// Codabar, always started with "A" and stopped with "B", without a check character.

#include <array>
#include <cstdint>
#include <string_view>

#include "base/Exceptions.h"
#include "base/Format.h"
#include "engine/ByteIndex.h"
#include "engine/Encoders.h"

namespace ribbon {
namespace {

struct CodabarRow {
    char Char;
    std::string_view Wide;  // bar, space, bar, space, bar, space, bar: "1" wide, "0" narrow
};

constexpr std::array<CodabarRow, 20> CodabarTable = {{
    {'1', "0000110"}, {'2', "0001001"}, {'3', "1100000"}, {'4', "0010010"}, {'5', "1000010"},
    {'6', "0100001"}, {'7', "0100100"}, {'8', "0110000"}, {'9', "1001000"}, {'0', "0000011"},
    {'-', "0001100"}, {'$', "0011000"}, {':', "1000101"}, {'/', "1010001"}, {'.', "1010100"},
    {'+', "0010101"}, {'A', "0011010"}, {'B', "0101001"}, {'C', "0001011"}, {'D', "0001110"},
}};

// Row of each byte, or -1 for a byte that is not a Codabar character.
constexpr TByteIndex CodabarIndex =
    MakeByteIndex(CodabarTable, [](const CodabarRow& row) -> int { return row.Char; });

int RowOf(char c) {
    return ribbon::RowOf(CodabarIndex, c);
}

void AppendCharacter(std::string& pattern, int row) {
    const std::string_view wide = CodabarTable[row].Wide;
    for (std::size_t j = 0; j < wide.size(); ++j) {
        const bool bar = j % 2 == 0;
        pattern += bar ? (wide[j] == '1' ? '6' : '5') : (wide[j] == '1' ? '1' : '0');
    }
}

}  // namespace

std::string EncodeCodabar(const std::string& Data) {
    // Refuse the whole data up front: a symbol without one of its characters would read as
    // different data.
    for (char c : Data)
        if (RowOf(c) < 0) throw Exception(Format("%s : %s", Data, "Codabar bad data."));

    std::string pattern;
    pattern.reserve(8 * (Data.size() + 2));
    AppendCharacter(pattern, RowOf('A'));
    pattern += '0';
    for (char c : Data) {
        AppendCharacter(pattern, RowOf(c));
        pattern += '0';  // gap between characters
    }
    AppendCharacter(pattern, RowOf('B'));
    return pattern;
}

}  // namespace ribbon
