#pragma once
// The Code 39 character table and the full-ASCII table built on it. Code 93 Extended derives
// its own full-ASCII table from the second one.

#include <array>
#include <string_view>

namespace ribbon {

// One Code 39 character: its 9 elements (bar, space, ... bar) in the pattern alphabet, narrow
// bar "5", wide bar "6", narrow space "0", wide space "1", and its check value.
struct Code39Row {
    char Char;
    std::string_view Pattern;
    int Value;
};

// The row order matters: the check character is the first row with the wanted value, so the
// value 0 gives "0" rather than the start/stop character "*" (which also carries 0).
inline constexpr std::array<Code39Row, 44> Code39Table = {{
    {'0', "505160605", 0},  {'1', "605150506", 1},  {'2', "506150506", 2},  {'3', "606150505", 3},
    {'4', "505160506", 4},  {'5', "605160505", 5},  {'6', "506160505", 6},  {'7', "505150606", 7},
    {'8', "605150605", 8},  {'9', "506150605", 9},  {'A', "605051506", 10}, {'B', "506051506", 11},
    {'C', "606051505", 12}, {'D', "505061506", 13}, {'E', "605061505", 14}, {'F', "506061505", 15},
    {'G', "505051606", 16}, {'H', "605051605", 17}, {'I', "506051605", 18}, {'J', "505061605", 19},
    {'K', "605050516", 20}, {'L', "506050516", 21}, {'M', "606050515", 22}, {'N', "505060516", 23},
    {'O', "605060515", 24}, {'P', "506060515", 25}, {'Q', "505050616", 26}, {'R', "605050615", 27},
    {'S', "506050615", 28}, {'T', "505060615", 29}, {'U', "615050506", 30}, {'V', "516050506", 31},
    {'W', "616050505", 32}, {'X', "515060506", 33}, {'Y', "615060505", 34}, {'Z', "516060505", 35},
    {'-', "515050606", 36}, {'.', "615050605", 37}, {' ', "516050605", 38}, {'*', "515060605", 0},
    {'$', "515151505", 39}, {'/', "515150515", 40}, {'+', "515051515", 41}, {'%', "505151515", 42},
}};

// Full ASCII: the Code 39 characters that stand for each code 0..127.
inline constexpr std::array<std::string_view, 128> Code39ExtTable = {
    "%U", "$A", "$B", "$C", "$D", "$E", "$F", "$G",  // 0..7
    "$H", "$I", "$J", "$K", "$L", "$M", "$N", "$O",  // 8..15
    "$P", "$Q", "$R", "$S", "$T", "$U", "$V", "$W",  // 16..23
    "$X", "$Y", "$Z", "%A", "%B", "%C", "%D", "%E",  // 24..31
    " ",  "/A", "/B", "/C", "/D", "/E", "/F", "/G",  // 32..39
    "/H", "/I", "/J", "/K", "/L", "/M", "/N", "/O",  // 40..47
    "0",  "1",  "2",  "3",  "4",  "5",  "6",  "7",   // 48..55
    "8",  "9",  "/Z", "%F", "%G", "%H", "%I", "%J",  // 56..63
    "%V", "A",  "B",  "C",  "D",  "E",  "F",  "G",   // 64..71
    "H",  "I",  "J",  "K",  "L",  "M",  "N",  "O",   // 72..79
    "P",  "Q",  "R",  "S",  "T",  "U",  "V",  "W",   // 80..87
    "X",  "Y",  "Z",  "%K", "%L", "%M", "%N", "%O",  // 88..95
    "%W", "+A", "+B", "+C", "+D", "+E", "+F", "+G",  // 96..103
    "+H", "+I", "+J", "+K", "+L", "+M", "+N", "+O",  // 104..111
    "+P", "+Q", "+R", "+S", "+T", "+U", "+V", "+W",  // 112..119
    "+X", "+Y", "+Z", "%P", "%Q", "%R", "%S", "%T",  // 120..127
};

}  // namespace ribbon
