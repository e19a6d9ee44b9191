// EAN-8 and EAN-13.

#include <string>

#include "engine/EANTables.h"
#include "engine/Encoders.h"
#include "runtime/Exceptions.h"

namespace ribbon {
inline namespace RIBBON_EDITION {

std::string PadLeftZeros(std::size_t Length, const std::string& Data) {
    if (Data.size() >= Length) return Data;
    return std::string(Length - Data.size(), '0') + Data;
}

std::string EncodeEAN8(const std::string& Data, TCheckSum CheckSum) {
    std::string t;
    if (CheckSum == csModulo10) {
        // Only the last seven digits get a check digit; leading ones beyond them are dropped.
        const std::string padded = PadLeftZeros(7, Data);
        t = AppendModulo10(padded.substr(padded.size() - 7));
    } else {
        t = PadLeftZeros(8, Data);
    }
    // Checked in every build: cutting the data short would print a different number.
    RIBBON_ASSERT(t.size() == 8, "EAN8 : Invalid barcode length.");

    std::string pattern = "505";
    pattern.reserve(43);
    for (std::size_t i = 0; i < 4; ++i) AppendDigit(pattern, EANSetA, DigitValue(t[i]));
    pattern += "05050";
    for (std::size_t i = 4; i < 8; ++i) AppendDigit(pattern, EANSetC, DigitValue(t[i]));
    pattern += "505";
    return pattern;
}

std::string EncodeEAN13(const std::string& Data, TCheckSum CheckSum) {
    const std::string t =
        CheckSum == csModulo10 ? AppendModulo10(PadLeftZeros(12, Data)) : PadLeftZeros(13, Data);
    RIBBON_ASSERT(t.size() == 13, "EAN13 : Invalid barcode length.");

    // The leading digit has no bars of its own: it selects the number sets of the left half.
    const std::string_view parity = EAN13ParityTable[DigitValue(t[0])];
    std::string pattern = "505";
    pattern.reserve(59);
    for (std::size_t i = 0; i < 6; ++i)
        AppendDigit(pattern, parity[i] == 'A' ? EANSetA : EANSetB, DigitValue(t[1 + i]));
    pattern += "05050";
    for (std::size_t i = 7; i < 13; ++i) AppendDigit(pattern, EANSetC, DigitValue(t[i]));
    pattern += "505";
    return pattern;
}

}  // namespace RIBBON_EDITION
}  // namespace ribbon
