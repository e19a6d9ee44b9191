// UPC-A, UPC-E (number systems 0 and 1) and the two- and five-digit add-on symbols.

#include <array>
#include <string>
#include <string_view>

#include "engine/EANTables.h"
#include "engine/Encoders.h"
#include "runtime/Numeric.h"

namespace ribbon {
inline namespace RIBBON_EDITION {

namespace {

// Parities of the two-digit add-on by its value modulo 4: "E" even (set B), "o" odd (set A).
constexpr std::array<std::string_view, 4> Supp2ParityTable = {{"oo", "oE", "Eo", "EE"}};

std::string EncodeUPCE(const std::string& Data, TCheckSum CheckSum, std::string& Text,
                       bool numberSystem1) {
    const std::string t = PadLeftZeros(7, Data);
    // The check digit is not drawn as a digit: it selects the parities of the six.
    std::string v;
    if (CheckSum == csModulo10) {
        v = AppendModulo10(t.substr(0, 6));
        Text = v;
    } else {
        v = t;
    }
    const std::string_view parity = UPCEParityTable[DigitValue(v[6])];
    // Number system 1 mirrors the parities of number system 0.
    const EANNumberSet& even = numberSystem1 ? EANSetA : EANSetB;
    const EANNumberSet& odd = numberSystem1 ? EANSetB : EANSetA;

    std::string pattern = "505";
    pattern.reserve(33);
    for (std::size_t i = 0; i < 6; ++i)
        AppendDigit(pattern, parity[i] == 'E' ? even : odd, DigitValue(v[i]));
    pattern += "050505";
    return pattern;
}

}  // namespace

std::string AppendAddOnCheck(const std::string& Digits) {
    const std::string head = Digits.empty() ? Digits : Digits.substr(0, Digits.size() - 1);
    int sum = 0;
    bool three = true;  // the right-most digit weighs 3
    for (std::size_t i = head.size(); i-- > 0; three = !three)
        sum = (sum + DigitValue(head[i]) * (three ? 3 : 9)) % 10;
    return head + static_cast<char>('0' + sum);
}

std::string EncodeUPCA(const std::string& Data, TCheckSum CheckSum, std::string& Text) {
    const std::string t = PadLeftZeros(12, Data);
    std::string v;
    if (CheckSum == csModulo10) {
        v = AppendModulo10(t.substr(0, 11));
        Text = v;
    } else {
        v = t;
    }
    std::string pattern = "505";
    pattern.reserve(59);
    for (std::size_t i = 0; i < 6; ++i) AppendDigit(pattern, EANSetA, DigitValue(v[i]));
    pattern += "05050";
    for (std::size_t i = 6; i < 12; ++i) AppendDigit(pattern, EANSetC, DigitValue(v[i]));
    pattern += "505";
    return pattern;
}

std::string EncodeUPCE0(const std::string& Data, TCheckSum CheckSum, std::string& Text) {
    return EncodeUPCE(Data, CheckSum, Text, false);
}

std::string EncodeUPCE1(const std::string& Data, TCheckSum CheckSum, std::string& Text) {
    return EncodeUPCE(Data, CheckSum, Text, true);
}

std::string EncodeUPCSupp5(const std::string& Data, TCheckSum CheckSum, std::string& Text) {
    const std::string t = PadLeftZeros(5, Data);
    // The check value is never drawn as a digit, but its parities always are.
    const std::string w = AppendAddOnCheck(t.substr(0, 5) + "0");
    std::string v = t;
    if (CheckSum == csModulo10) {
        v = w;
        Text = w;
    }
    const std::string_view parity = UPCEParityTable[DigitValue(w[5])].substr(1);

    std::string pattern = "506";
    pattern.reserve(31);
    for (std::size_t i = 0; i < 5; ++i) {
        if (i > 0) pattern += "05";
        AppendDigit(pattern, parity[i] == 'E' ? EANSetB : EANSetA, DigitValue(v[i]));
    }
    return pattern;
}

std::string EncodeUPCSupp2(const std::string& Data, TCheckSum CheckSum, std::string& Text) {
    const std::string t = PadLeftZeros(2, Data);
    const std::string_view parity = Supp2ParityTable[StrToInt(t) % 4];
    std::string v = t;
    if (CheckSum == csModulo10) {
        v = AppendAddOnCheck(t.substr(0, 5) + "0");
        Text = v;
    }

    std::string pattern = "506";
    pattern.reserve(13);
    for (std::size_t i = 0; i < 2; ++i) {
        if (i > 0) pattern += "05";
        AppendDigit(pattern, parity[i] == 'E' ? EANSetB : EANSetA, DigitValue(v[i]));
    }
    return pattern;
}

}  // namespace RIBBON_EDITION
}  // namespace ribbon
