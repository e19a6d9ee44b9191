// UPC-A, UPC-E (number systems 0 and 1) and the two- and five-digit add-on symbols.

#include <array>
#include <string>
#include <string_view>

#include "base/Numeric.h"
#include "engine/DigitNotes.h"
#include "engine/EANTables.h"
#include "engine/Encoders.h"

namespace ribbon {
namespace {

// Parities of the two-digit add-on by its value modulo 4: "E" even (set B), "o" odd (set A).
constexpr std::array<std::string_view, 4> Supp2ParityTable = {{"oo", "oE", "Eo", "EE"}};

// The number written as UPC-A: the six digits spread over manufacturer and item numbers by the
// rule that the last of them selects.
std::string ExpandUPCE(char NumberSystem, const std::string& Six) {
    const std::string d = Six;
    std::string body;
    switch (d[5]) {
        case '0':
        case '1':
        case '2':
            body = d.substr(0, 2) + d[5] + "0000" + d.substr(2, 3);
            break;
        case '3':
            body = d.substr(0, 3) + "00000" + d.substr(3, 2);
            break;
        case '4':
            body = d.substr(0, 4) + "00000" + d[4];
            break;
        default:
            body = d.substr(0, 5) + "0000" + d[5];
            break;
    }
    return NumberSystem + body;
}

TEncoded EncodeUPCE(const std::string& Data, TCheckSum CheckSum, bool numberSystem1) {
    const std::string t = PadLeftZeros(7, Data);
    const std::string six = t.substr(0, 6);
    TEncoded e;
    NotePadding(e, Data.size(), 7);
    NoteDropped(e, t.size() - 7, "last");
    // The check digit is not drawn as a digit: it selects the parities of the six.
    const char check = UPCECheckDigit(numberSystem1 ? '1' : '0', six);
    NoteCheckDigit(e, t[6], check, CheckSum);
    const std::string v = CheckSum == csModulo10 ? six + check : t.substr(0, 7);
    const std::string_view parity = UPCEParityTable[DigitValue(v[6])];
    // Number system 1 mirrors the parities of number system 0.
    const EANNumberSet& even = numberSystem1 ? EANSetA : EANSetB;
    const EANNumberSet& odd = numberSystem1 ? EANSetB : EANSetA;

    e.Pattern = "505";
    e.Pattern.reserve(33);
    for (std::size_t i = 0; i < 6; ++i)
        AppendDigit(e.Pattern, parity[i] == 'E' ? even : odd, DigitValue(v[i]));
    e.Pattern += "050505";
    e.Show(v);
    return e;
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

char UPCECheckDigit(char NumberSystem, const std::string& Six) {
    return AppendModulo10(ExpandUPCE(NumberSystem, Six)).back();
}

TEncoded EncodeUPCA(const std::string& Data, TCheckSum CheckSum) {
    const std::string t = PadLeftZeros(12, Data);
    TEncoded e;
    NotePadding(e, Data.size(), 12);
    NoteDropped(e, t.size() - 12, "last");
    const std::string v =
        CheckSum == csModulo10 ? AppendModulo10(t.substr(0, 11)) : t.substr(0, 12);
    NoteCheckDigit(e, t[11], AppendModulo10(t.substr(0, 11)).back(), CheckSum);

    e.Pattern = EANPatternAC(v);
    e.Show(v);
    return e;
}

TEncoded EncodeUPCE0(const std::string& Data, TCheckSum CheckSum) {
    return EncodeUPCE(Data, CheckSum, false);
}

TEncoded EncodeUPCE1(const std::string& Data, TCheckSum CheckSum) {
    return EncodeUPCE(Data, CheckSum, true);
}

// The add-ons carry their digits alone: their check value selects the parities. CheckSum no
// longer changes what they show.
TEncoded EncodeUPCSupp5(const std::string& Data, TCheckSum) {
    const std::string t = PadLeftZeros(5, Data);
    TEncoded e;
    NotePadding(e, Data.size(), 5);
    NoteDropped(e, t.size() - 5, "last");
    const std::string w = AppendAddOnCheck(t.substr(0, 5) + "0");
    const std::string_view parity = UPCEParityTable[DigitValue(w[5])].substr(1);

    e.Pattern = "506";
    e.Pattern.reserve(31);
    for (std::size_t i = 0; i < 5; ++i) {
        if (i > 0) e.Pattern += "05";
        AppendDigit(e.Pattern, parity[i] == 'E' ? EANSetB : EANSetA, DigitValue(t[i]));
    }
    e.Show(t.substr(0, 5));
    return e;
}

TEncoded EncodeUPCSupp2(const std::string& Data, TCheckSum) {
    const std::string t = PadLeftZeros(2, Data);
    TEncoded e;
    NotePadding(e, Data.size(), 2);
    NoteDropped(e, t.size() - 2, "last");
    const std::string_view parity = Supp2ParityTable[StrToInt(t) % 4];

    e.Pattern = "506";
    e.Pattern.reserve(13);
    for (std::size_t i = 0; i < 2; ++i) {
        if (i > 0) e.Pattern += "05";
        AppendDigit(e.Pattern, parity[i] == 'E' ? EANSetB : EANSetA, DigitValue(t[i]));
    }
    e.Show(t.substr(0, 2));
    return e;
}

}  // namespace ribbon
