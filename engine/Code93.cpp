// Code 93 and Code 93 Extended (full ASCII through the four shift characters).

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/Exceptions.h"
#include "base/Format.h"
#include "engine/ByteIndex.h"
#include "engine/Code39Tables.h"
#include "engine/Encoders.h"

namespace ribbon {
namespace {

struct Code93Row {
    char Char;
    std::string_view Counts;  // bar, space, bar, space, bar, space: 9 modules
};

// Row number = value. The shift characters ($), (%), (/) and (+) are held under "[", "]", "{"
// and "}".
constexpr std::array<Code93Row, 47> Code93Table = {{
    {'0', "131112"}, {'1', "111213"}, {'2', "111312"}, {'3', "111411"}, {'4', "121113"},
    {'5', "121212"}, {'6', "121311"}, {'7', "111114"}, {'8', "131211"}, {'9', "141111"},
    {'A', "211113"}, {'B', "211212"}, {'C', "211311"}, {'D', "221112"}, {'E', "221211"},
    {'F', "231111"}, {'G', "112113"}, {'H', "112212"}, {'I', "112311"}, {'J', "122112"},
    {'K', "132111"}, {'L', "111123"}, {'M', "111222"}, {'N', "111321"}, {'O', "121122"},
    {'P', "131121"}, {'Q', "212112"}, {'R', "212211"}, {'S', "211122"}, {'T', "211221"},
    {'U', "221121"}, {'V', "222111"}, {'W', "112122"}, {'X', "112221"}, {'Y', "122121"},
    {'Z', "123111"}, {'-', "121131"}, {'.', "311112"}, {' ', "311211"}, {'$', "321111"},
    {'/', "112131"}, {'+', "113121"}, {'%', "211131"}, {'[', "121221"}, {']', "312111"},
    {'{', "311121"}, {'}', "122211"},
}};

constexpr std::string_view StartStop = "111141";
constexpr std::string_view StopAndTermination = "1111411";

// Full ASCII for Code 93: the Code 39 sequences with the four prefixes "$", "%", "/" and "+"
// replaced by the shift characters held under "[", "]", "{" and "}".
struct ShiftSequence {
    char Chars[2];
    std::size_t Size;
    std::string_view View() const { return {Chars, Size}; }
};

constexpr char ToShift(char prefix) {
    switch (prefix) {
        case '$':
            return '[';
        case '%':
            return ']';
        case '/':
            return '{';
        case '+':
            return '}';
        default:
            return prefix;
    }
}

constexpr std::array<ShiftSequence, 128> MakeCode93ExtTable() {
    std::array<ShiftSequence, 128> table{};
    for (std::size_t code = 0; code < table.size(); ++code) {
        const std::string_view seq = Code39ExtTable[code];
        table[code].Size = seq.size();
        table[code].Chars[0] = seq.size() == 2 ? ToShift(seq[0]) : seq[0];
        if (seq.size() == 2) table[code].Chars[1] = seq[1];
    }
    return table;
}

constexpr std::array<ShiftSequence, 128> Code93ExtTable = MakeCode93ExtTable();

// The value (row) of every byte value, or -1.
constexpr TByteIndex Code93Values =
    MakeByteIndex(Code93Table, [](const Code93Row& row) -> int { return row.Char; });

int FindCode93(char c) {
    return RowOf(Code93Values, c);
}

}  // namespace

std::string EncodeCode93(const std::string& Data) {
    std::vector<int> values;
    values.reserve(Data.size());
    std::string counts;
    counts.reserve(6 * (Data.size() + 4) + 1);
    counts += StartStop;
    for (char c : Data) {
        const int value = FindCode93(c);
        if (value < 0) throw Exception(Format("%s : %s", Data, "Code_93 bad data."));
        values.push_back(value);
        counts += Code93Table[value].Counts;
    }

    // Weights count from the right-most character: C cycles 1..20, K cycles 2..15 then 1.., and
    // K also takes C with weight 1.
    long long c = 0, k = 0;
    std::size_t fromRight = 1;
    for (auto it = values.rbegin(); it != values.rend(); ++it, ++fromRight) {
        c += static_cast<long long>(*it) * static_cast<long long>((fromRight - 1) % 20 + 1);
        k += static_cast<long long>(*it) * static_cast<long long>(fromRight % 15 + 1);
    }
    c %= 47;
    k = (k + c) % 47;

    counts += Code93Table[c].Counts;
    counts += Code93Table[k].Counts;
    counts += StopAndTermination;
    return CountsToPattern(counts);
}

TEncoded EncodeCode93Extended(const std::string& Data) {
    std::string replacement, carried;
    for (char ch : Data) {
        const auto code = static_cast<unsigned char>(ch);
        if (code < Code93ExtTable.size()) {
            replacement += Code93ExtTable[code].View();
            carried += ch;
        }
    }
    TEncoded e;
    e.Pattern = EncodeCode93(replacement);
    e.Carried = std::move(carried);
    NoteLeftOut(e, Data.size() - e.Carried.size(), "Code 93 Extended");
    return e;
}

}  // namespace ribbon
