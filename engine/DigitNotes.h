#pragma once
// The words with which the fixed-length digit symbologies (EAN, UPC and their add-ons) report
// what they did to the data.

#include <cstddef>
#include <string>

#include "engine/Encoders.h"

namespace ribbon {
inline std::string DigitCount(std::size_t n) {
    return std::to_string(n) + (n == 1 ? " digit" : " digits");
}

// The data was shorter than the Length digits the symbol holds.
inline void NotePadding(TEncoded& Encoded, std::size_t Given, std::size_t Length) {
    if (Given < Length)
        Encoded.Note(dcPadded, "zeros added in front to make " + DigitCount(Length));
}

// Where says which digits went: "first" or "last".
inline void NoteDropped(TEncoded& Encoded, std::size_t Count, const char* Where) {
    if (Count == 0) return;
    const std::string digits = Count == 1 ? " digit" : " " + DigitCount(Count);
    Encoded.Note(dcTruncated, "the " + (Where + digits) + " left out, the symbol holds no more");
}

// Given stands in the check digit's place where Right belongs.
inline void NoteCheckDigit(TEncoded& Encoded, char Given, char Right, TCheckSum CheckSum) {
    if (Given == Right) return;
    if (CheckSum == csModulo10)
        Encoded.Note(dcCheckDigitReplaced,
                     std::string("the check digit ") + Given + " replaced by " + Right);
    else
        Encoded.Note(dcWrongCheckDigit, std::string("the check digit ") + Given + " is wrong (" +
                                            Right + " is right), so scanners refuse the symbol");
}

}  // namespace ribbon
