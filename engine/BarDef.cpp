// EAN-8 and EAN-13.
//
// The length assertions name their line in the message users see: keep them where they stand.

#include <string>

#include "base/Exceptions.h"
#include "engine/DigitNotes.h"
#include "engine/EANTables.h"
#include "engine/Encoders.h"

namespace ribbon {
std::string PadLeftZeros(std::size_t Length, const std::string& Data) {
    if (Data.size() >= Length) return Data;
    return std::string(Length - Data.size(), '0') + Data;
}

namespace {

// Checks a symbol of Length digits whose last digit is the check digit given with the data.
void CheckGivenDigit(TEncoded& Encoded, const std::string& Digits) {
    const std::string body = Digits.substr(0, Digits.size() - 1);
    NoteCheckDigit(Encoded, Digits.back(), AppendModulo10(body).back(), csNone);
}

}  // namespace

std::string EANPatternAC(const std::string& Digits) {
    const std::size_t half = Digits.size() / 2;
    std::string pattern = "505";
    pattern.reserve(6 + 5 + 8 * half);
    for (std::size_t i = 0; i < half; ++i) AppendDigit(pattern, EANSetA, DigitValue(Digits[i]));
    pattern += "05050";
    for (std::size_t i = half; i < 2 * half; ++i)
        AppendDigit(pattern, EANSetC, DigitValue(Digits[i]));
    pattern += "505";
    return pattern;
}

TEncoded EncodeEAN8(const std::string& Data, TCheckSum CheckSum) {
    TEncoded e;
    std::string t;
    if (CheckSum == csModulo10) {
        // Only the last seven digits get a check digit; leading ones beyond them are dropped.
        const std::string padded = PadLeftZeros(7, Data);
        t = AppendModulo10(padded.substr(padded.size() - 7));
        NotePadding(e, Data.size(), 7);
        NoteDropped(e, padded.size() - 7, "first");
    } else {
        t = PadLeftZeros(8, Data);
    }
    // Checked in every build: cutting the data short would print a different number.
    RIBBON_ASSERT(t.size() == 8, "EAN8 : Invalid barcode length.");
    if (CheckSum != csModulo10) {
        NotePadding(e, Data.size(), 8);
        CheckGivenDigit(e, t);
    }

    e.Pattern = EANPatternAC(t);
    e.Show(t);
    return e;
}

TEncoded EncodeEAN13(const std::string& Data, TCheckSum CheckSum) {
    const std::string t =
        CheckSum == csModulo10 ? AppendModulo10(PadLeftZeros(12, Data)) : PadLeftZeros(13, Data);
    RIBBON_ASSERT(t.size() == 13, "EAN13 : Invalid barcode length.");
    TEncoded e;
    if (CheckSum == csModulo10) {
        NotePadding(e, Data.size(), 12);
    } else {
        NotePadding(e, Data.size(), 13);
        CheckGivenDigit(e, t);
    }

    // The leading digit has no bars of its own: it selects the number sets of the left half.
    const std::string_view parity = EAN13ParityTable[DigitValue(t[0])];
    e.Pattern = "505";
    e.Pattern.reserve(59);
    for (std::size_t i = 0; i < 6; ++i)
        AppendDigit(e.Pattern, parity[i] == 'A' ? EANSetA : EANSetB, DigitValue(t[1 + i]));
    e.Pattern += "05050";
    for (std::size_t i = 7; i < 13; ++i) AppendDigit(e.Pattern, EANSetC, DigitValue(t[i]));
    e.Pattern += "505";
    e.Show(t);
    return e;
}

}  // namespace ribbon
