// Code 128 and EAN-128 (GS1-128), each symbol in one fixed code set chosen by the type.

#include <array>
#include <cstdint>
#include <string_view>

#include "base/Exceptions.h"
#include "base/Format.h"
#include "engine/ByteIndex.h"
#include "engine/Encoders.h"

namespace ribbon {
namespace {

// A column entry that holds no data character. The function and shift characters of both sets
// (96 to 102, and 95 where set B has no character) are reached through the bytes 195 to 202.
constexpr int None = -1;

struct Code128Row {
    int A;                    // character of code set A
    int B;                    // character of code set B
    std::string_view C;       // digit pair of code set C
    std::string_view Counts;  // bar, space, bar, space, bar, space: 11 modules
};

// Row number = value.
constexpr std::array<Code128Row, 103> Code128Table = {{
    {' ', ' ', "00", "212222"},    // 0
    {'!', '!', "01", "222122"},    // 1
    {'"', '"', "02", "222221"},    // 2
    {'#', '#', "03", "121223"},    // 3
    {'$', '$', "04", "121322"},    // 4
    {'%', '%', "05", "131222"},    // 5
    {'&', '&', "06", "122213"},    // 6
    {'\'', '\'', "07", "122312"},  // 7
    {'(', '(', "08", "132212"},    // 8
    {')', ')', "09", "221213"},    // 9
    {'*', '*', "10", "221312"},    // 10
    {'+', '+', "11", "231212"},    // 11
    {',', ',', "12", "112232"},    // 12
    {'-', '-', "13", "122132"},    // 13
    {'.', '.', "14", "122231"},    // 14
    {'/', '/', "15", "113222"},    // 15
    {'0', '0', "16", "123122"},    // 16
    {'1', '1', "17", "123221"},    // 17
    {'2', '2', "18", "223211"},    // 18
    {'3', '3', "19", "221132"},    // 19
    {'4', '4', "20", "221231"},    // 20
    {'5', '5', "21", "213212"},    // 21
    {'6', '6', "22", "223112"},    // 22
    {'7', '7', "23", "312131"},    // 23
    {'8', '8', "24", "311222"},    // 24
    {'9', '9', "25", "321122"},    // 25
    {':', ':', "26", "321221"},    // 26
    {';', ';', "27", "312212"},    // 27
    {'<', '<', "28", "322112"},    // 28
    {'=', '=', "29", "322211"},    // 29
    {'>', '>', "30", "212123"},    // 30
    {'?', '?', "31", "212321"},    // 31
    {'@', '@', "32", "232121"},    // 32
    {'A', 'A', "33", "111323"},    // 33
    {'B', 'B', "34", "131123"},    // 34
    {'C', 'C', "35", "131321"},    // 35
    {'D', 'D', "36", "112313"},    // 36
    {'E', 'E', "37", "132113"},    // 37
    {'F', 'F', "38", "132311"},    // 38
    {'G', 'G', "39", "211313"},    // 39
    {'H', 'H', "40", "231113"},    // 40
    {'I', 'I', "41", "231311"},    // 41
    {'J', 'J', "42", "112133"},    // 42
    {'K', 'K', "43", "112331"},    // 43
    {'L', 'L', "44", "132131"},    // 44
    {'M', 'M', "45", "113123"},    // 45
    {'N', 'N', "46", "113321"},    // 46
    {'O', 'O', "47", "133121"},    // 47
    {'P', 'P', "48", "313121"},    // 48
    {'Q', 'Q', "49", "211331"},    // 49
    {'R', 'R', "50", "231131"},    // 50
    {'S', 'S', "51", "213113"},    // 51
    {'T', 'T', "52", "213311"},    // 52
    {'U', 'U', "53", "213131"},    // 53
    {'V', 'V', "54", "311123"},    // 54
    {'W', 'W', "55", "311321"},    // 55
    {'X', 'X', "56", "331121"},    // 56
    {'Y', 'Y', "57", "312113"},    // 57
    {'Z', 'Z', "58", "312311"},    // 58
    {'[', '[', "59", "332111"},    // 59
    {'\\', '\\', "60", "314111"},  // 60
    {']', ']', "61", "221411"},    // 61
    {'^', '^', "62", "431111"},    // 62
    {'_', '_', "63", "111224"},    // 63
    {0, '`', "64", "111422"},      // 64
    {1, 'a', "65", "121124"},      // 65
    {2, 'b', "66", "121421"},      // 66
    {3, 'c', "67", "141122"},      // 67
    {4, 'd', "68", "141221"},      // 68
    {5, 'e', "69", "112214"},      // 69
    {6, 'f', "70", "112412"},      // 70
    {7, 'g', "71", "122114"},      // 71
    {8, 'h', "72", "122411"},      // 72
    {9, 'i', "73", "142112"},      // 73
    {10, 'j', "74", "142211"},     // 74
    {11, 'k', "75", "241211"},     // 75
    {12, 'l', "76", "221114"},     // 76
    {13, 'm', "77", "413111"},     // 77
    {14, 'n', "78", "241112"},     // 78
    {15, 'o', "79", "134111"},     // 79
    {16, 'p', "80", "111242"},     // 80
    {17, 'q', "81", "121142"},     // 81
    {18, 'r', "82", "121241"},     // 82
    {19, 's', "83", "114212"},     // 83
    {20, 't', "84", "124112"},     // 84
    {21, 'u', "85", "124211"},     // 85
    {22, 'v', "86", "411212"},     // 86
    {23, 'w', "87", "421112"},     // 87
    {24, 'x', "88", "421211"},     // 88
    {25, 'y', "89", "212141"},     // 89
    {26, 'z', "90", "214121"},     // 90
    {27, '{', "91", "412121"},     // 91
    {28, '|', "92", "111143"},     // 92
    {29, '}', "93", "111341"},     // 93
    {30, '~', "94", "131141"},     // 94
    {31, 0x7F, "95", "114113"},    // 95
    {None, None, "96", "114311"},  // 96
    {None, None, "97", "411113"},  // 97
    {None, None, "98", "411311"},  // 98
    {None, None, "99", "113141"},  // 99
    {None, None, "CB", "114131"},  // 100
    {None, None, "CA", "311141"},  // 101
    {None, None, "F1", "411131"},  // 102
}};

constexpr int FNC1 = 102;
constexpr std::string_view Stop = "2331112";  // stop character and termination bar

struct Code128Start {
    std::string_view Counts;
    int Value;
};
constexpr Code128Start StartA = {"211412", 103};
constexpr Code128Start StartB = {"211214", 104};
constexpr Code128Start StartC = {"211232", 105};

constexpr bool TableIsSound() {
    for (std::size_t v = 0; v < Code128Table.size(); ++v) {
        const Code128Row& row = Code128Table[v];
        int modules = 0;
        for (char c : row.Counts) modules += c - '0';
        if (row.Counts.size() != 6 || modules != 11) return false;
        // The digit pairs sit at their own value, which lets FindPair index them directly.
        if (v < 100 && (row.C.size() != 2 || (row.C[0] - '0') * 10 + (row.C[1] - '0') != int(v)))
            return false;
    }
    return true;
}
static_assert(TableIsSound());

// Value of each byte in one character column; None where the column lacks it. The first row
// holding a character wins.
constexpr TByteIndex IndexA =
    MakeByteIndex(Code128Table, [](const Code128Row& row) { return row.A; });
constexpr TByteIndex IndexB =
    MakeByteIndex(Code128Table, [](const Code128Row& row) { return row.B; });
// EAN-128 A starts in set A but has always taken the printable characters at their set B
// values; its control characters take their set A values, and DEL, which set A lacks, none.
constexpr TByteIndex IndexEAN128A = [] {
    TByteIndex index = IndexB;
    for (int c = 0; c < 32; ++c) index[c] = IndexA[c];
    index[0x7F] = None;
    return index;
}();

const TByteIndex& IndexOf(TBarType BarType) {
    switch (BarType) {
        case bcCode128A:
            return IndexA;
        case bcCodeEAN128A:
            return IndexEAN128A;
        default:
            return IndexB;
    }
}

// Value of a Code C pair; a pair the column lacks is encoded as "00". Under digits-only Code C
// the function rows hold no pair.
int FindPair(char first, char second, const TEditionRules& Rules) {
    if (first >= '0' && first <= '9' && second >= '0' && second <= '9')
        return (first - '0') * 10 + (second - '0');
    if (Rules.DigitsOnlyCodeC) return 0;
    const char pair[2] = {first, second};
    for (std::size_t v = 100; v < Code128Table.size(); ++v)
        if (Code128Table[v].C == std::string_view(pair, 2)) return static_cast<int>(v);
    return 0;
}

// The bytes 195 to 202 carry the values 95 to 102 (function and code-set characters, 202 being
// FNC1); beyond them there is no value at all.
constexpr unsigned char FirstFunctionByte = 195;
constexpr unsigned char LastFunctionByte = 202;
constexpr int FunctionByteOffset = 100;

bool IsCodeC(TBarType BarType) {
    return BarType == bcCode128C || BarType == bcCodeEAN128C;
}
bool IsEAN128(TBarType BarType) {
    return BarType == bcCodeEAN128A || BarType == bcCodeEAN128B || BarType == bcCodeEAN128C;
}

Code128Start StartOf(TBarType BarType) {
    switch (BarType) {
        case bcCode128A:
        case bcCodeEAN128A:
            return StartA;
        case bcCode128B:
        case bcCodeEAN128B:
            return StartB;
        default:
            return StartC;
    }
}

// The module counts of a symbol with its modulo-103 check character.
class Code128Symbol {
  public:
    explicit Code128Symbol(const Code128Start& start)
        : counts_(start.Counts), sum_(start.Value % 103) {}

    void Add(int value) {
        counts_ += Code128Table[value].Counts;
        // Kept reduced so that data of any length cannot overflow the sum.
        sum_ = (sum_ + value * (weight_ % 103)) % 103;
        ++weight_;
    }

    std::string Finish() {
        counts_ += Code128Table[sum_].Counts;
        counts_ += Stop;
        return CountsToPattern(counts_);
    }

    void Reserve(std::size_t symbols) { counts_.reserve(6 * (symbols + 2) + Stop.size()); }

  private:
    std::string counts_;
    std::size_t sum_;
    std::size_t weight_ = 1;
};

}  // namespace

TEncoded EncodeCode128(TBarType BarType, const std::string& Data, TCheckSum CheckSum,
                       const TEditionRules& Rules) {
    TEncoded e;
    std::string work = Data;
    Code128Symbol symbol(StartOf(BarType));
    symbol.Reserve(work.size() + 2);

    if (IsEAN128(BarType)) {
        symbol.Add(FNC1);
        // The check digit covers the data as given, before Code C pads it.
        work = ApplyCheckSum(CheckSum, work);
    }

    std::size_t replaced = 0;
    if (IsCodeC(BarType)) {
        if (work.size() % 2 != 0) {
            work.insert(work.begin(), '0');
            e.Note(dcPadded, "a 0 added in front to make the digit count even");
        }
        for (std::size_t i = 0; i < work.size(); i += 2) {
            const int value = FindPair(work[i], work[i + 1], Rules);
            if (value == 0 && (work[i] != '0' || work[i + 1] != '0')) {
                work.replace(i, 2, "00");
                ++replaced;
            }
            symbol.Add(value);
        }
        if (replaced > 0)
            e.Note(dcReplaced, std::to_string(replaced) + (replaced == 1 ? " pair" : " pairs") +
                                   " that code set C lacks encoded as 00");
    } else {
        const TByteIndex& index = IndexOf(BarType);
        for (char& c : work) {
            const auto code = static_cast<unsigned char>(c);
            int value;
            if (code >= FirstFunctionByte && code <= LastFunctionByte) {
                value = code - FunctionByteOffset;
            } else if (code > LastFunctionByte) {
                throw Exception(Format("%s : %s", Data, "Code128 bad data."));
            } else if (index[code] == None) {
                value = 0;  // a space
                c = ' ';
                ++replaced;
            } else {
                value = index[code];
            }
            symbol.Add(value);
        }
        if (replaced > 0)
            e.Note(dcReplaced, std::to_string(replaced) +
                                   (replaced == 1 ? " character" : " characters") +
                                   " that the code set lacks encoded as a space");
    }

    e.Pattern = symbol.Finish();
    e.Show(std::move(work));
    return e;
}

}  // namespace ribbon
