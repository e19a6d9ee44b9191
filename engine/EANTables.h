#pragma once
// The number sets and parity tables of the EAN/UPC family, shared by EAN-8/EAN-13 (BarDef.cpp)
// and the UPC symbols with their add-ons (UPC.cpp).

#include <array>
#include <string>
#include <string_view>

namespace ribbon {

// A digit of a number set: its four elements in the pattern alphabet, a space of k modules
// written k - 1, a bar of k modules k + 4.
using EANDigit = std::array<char, 4>;
using EANNumberSet = std::array<EANDigit, 10>;

// The sets are written as the standard prints them, one module per character ("1" a bar
// module), and turned into elements when compiled.
constexpr EANNumberSet ToElements(const std::array<std::string_view, 10>& modules) {
    EANNumberSet set{};
    for (std::size_t digit = 0; digit < modules.size(); ++digit) {
        const std::string_view m = modules[digit];
        if (m.size() != 7) throw "a number set digit has seven modules";
        std::size_t element = 0;
        for (std::size_t i = 0; i < m.size();) {
            std::size_t run = 0;
            const char module = m[i];
            while (i < m.size() && m[i] == module) ++i, ++run;
            if (element == 4) throw "a number set digit has four elements";
            set[digit][element++] = static_cast<char>(module == '1' ? '4' + run : '0' + run - 1);
        }
        if (element != 4) throw "a number set digit has four elements";
    }
    return set;
}

// Number set A (odd parity).
inline constexpr EANNumberSet EANSetA = ToElements({{
    "0001101",  // 0
    "0011001",  // 1
    "0010011",  // 2
    "0111101",  // 3
    "0100011",  // 4
    "0110001",  // 5
    "0101111",  // 6
    "0111011",  // 7
    "0110111",  // 8
    "0001011",  // 9
}});

// Number set B (even parity).
inline constexpr EANNumberSet EANSetB = ToElements({{
    "0100111",  // 0
    "0110011",  // 1
    "0011011",  // 2
    "0100001",  // 3
    "0011101",  // 4
    "0111001",  // 5
    "0000101",  // 6
    "0010001",  // 7
    "0001001",  // 8
    "0010111",  // 9
}});

// Number set C (right half).
inline constexpr EANNumberSet EANSetC = ToElements({{
    "1110010",  // 0
    "1100110",  // 1
    "1101100",  // 2
    "1000010",  // 3
    "1011100",  // 4
    "1001110",  // 5
    "1010000",  // 6
    "1000100",  // 7
    "1001000",  // 8
    "1110100",  // 9
}});

constexpr bool SetBMirrorsSetC() {
    for (std::size_t d = 0; d < 10; ++d)
        for (std::size_t e = 0; e < 4; ++e)
            if (EANSetB[d][e] != EANSetC[d][3 - e]) return false;
    return true;
}
static_assert(SetBMirrorsSetC());

// Number sets of the six left-hand digits of EAN-13, by the leading digit.
inline constexpr std::array<std::string_view, 10> EAN13ParityTable = {{
    "AAAAAA",  // 0
    "AABABB",  // 1
    "AABBAB",  // 2
    "AABBBA",  // 3
    "ABAABB",  // 4
    "ABBAAB",  // 5
    "ABBBAA",  // 6
    "ABABAB",  // 7
    "ABABBA",  // 8
    "ABBABA",  // 9
}};

// UPC-E parity of number system 0 by the check digit: "E" even (set B), "o" odd (set A).
// Columns 2 to 6 are the parity of the five-digit add-on for the same check value.
inline constexpr std::array<std::string_view, 10> UPCEParityTable = {{
    "EEEooo",  // 0
    "EEoEoo",  // 1
    "EEooEo",  // 2
    "EEoooE",  // 3
    "EoEEoo",  // 4
    "EooEEo",  // 5
    "EoooEE",  // 6
    "EoEoEo",  // 7
    "EoEooE",  // 8
    "EooEoE",  // 9
}};

inline void AppendDigit(std::string& pattern, const EANNumberSet& set, int digit) {
    pattern.append(set[digit].data(), set[digit].size());
}

}  // namespace ribbon
