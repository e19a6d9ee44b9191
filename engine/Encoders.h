#pragma once
// The encoding pipeline and the encoders behind it. Internal to the engine; the tests and the
// ribbon tool use it to look at patterns and width classes.
//
// A pattern holds one character per element, left to right: "0".."3" spaces, "5".."8" full
// bars and "A".."D" short bars, the rank inside each group naming the width class Width0..Width3.
// A module-count string holds one digit "1".."4" per element, bars and spaces alternating from a
// bar; CountsToPattern turns it into a pattern.

#include <string>
#include <string_view>
#include <utility>

#include "engine/Elements.h"
#include "engine/ZBarCode.h"

namespace ribbon {
// What an encoder makes of the data: the pattern, the data its bars carry, and what it had to
// change on the way there.
struct TEncoded {
    std::string Pattern;
    std::string Carried;       // the data as the bars carry it, as a scanner reads it back
    bool ShowCarried = false;  // the display text is Carried; otherwise the data as given
    TDataChanges Changes = 0;
    std::string Notice;  // Changes in words, for the user

    // The bars carry Data and the text shows it.
    void Show(std::string Data) {
        Carried = std::move(Data);
        ShowCarried = true;
    }

    void Note(TDataChange Change, const std::string& Words) {
        Changes |= Change;
        if (!Notice.empty()) Notice += "; ";
        Notice += Words;
    }
};

// Reports Count characters that Symbology has no pattern for, left out of the symbol.
inline void NoteLeftOut(TEncoded& Encoded, std::size_t Count, const char* Symbology) {
    if (Count > 0)
        Encoded.Note(dcLeftOut, std::to_string(Count) +
                                    (Count == 1 ? " character" : " characters") + " that " +
                                    Symbology + " has no pattern for left out");
}

std::string CountsToPattern(const std::string& Counts);
std::string AppendModulo10(const std::string& Digits);
std::string ApplyCheckSum(TCheckSum CheckSum, const std::string& Data);

// Value of a decimal digit; any other character raises the runtime's integer-conversion error,
// so that no digit table is ever read outside its ten rows.
int DigitValue(char Digit);

// Code 39 and the two extended forms leave out the characters they have no pattern for (and
// report them); Code 93 refuses them.
TEncoded EncodeCode39(const std::string& Data, TCheckSum CheckSum);
TEncoded EncodeCode39Extended(const std::string& Data, TCheckSum CheckSum);
std::string EncodeCode93(const std::string& Data);
TEncoded EncodeCode93Extended(const std::string& Data);

// Code 128 and EAN-128 in the fixed code set of BarType. The data as encoded (with the EAN-128
// check digit and the "0" that pads odd Code C data) is carried and shown. Under rules with
// digits-only Code C the pairs "CB", "CA", "F1" are encoded as "00" like any other non-digits.
TEncoded EncodeCode128(TBarType BarType, const std::string& Data, TCheckSum CheckSum,
                       const TEditionRules& Rules = DesktopRules);

// The 2 of 5 family, MSI and PostNet take digits only (EncodeBar has checked them).
// Interleaved 2 of 5 pairs the digits: an odd count gets a leading "0", carried and shown.
TEncoded EncodeCode25Interleaved(const std::string& Data);
std::string EncodeCode25Industrial(const std::string& Data);
std::string EncodeCode25Matrix(const std::string& Data);
std::string EncodeMSI(const std::string& Data);
std::string EncodePostNet(const std::string& Data);
std::string EncodeCodabar(const std::string& Data);

// Sum of the decimal digits of a non-negative integer written in decimal (0 for "" and "0").
long long DigitSum(std::string_view Decimal);

// EAN and UPC: the digits the bars carry are shown, check digit included, after padding and
// truncation (an add-on's check is carried by its parities, not as a digit).
TEncoded EncodeEAN8(const std::string& Data, TCheckSum CheckSum);
TEncoded EncodeEAN13(const std::string& Data, TCheckSum CheckSum);
TEncoded EncodeUPCA(const std::string& Data, TCheckSum CheckSum);
TEncoded EncodeUPCE0(const std::string& Data, TCheckSum CheckSum);
TEncoded EncodeUPCE1(const std::string& Data, TCheckSum CheckSum);
TEncoded EncodeUPCSupp2(const std::string& Data, TCheckSum CheckSum);
TEncoded EncodeUPCSupp5(const std::string& Data, TCheckSum CheckSum);

// EAN-8 and UPC-A: guards, the left half of Digits in number set A, the right half in set C.
std::string EANPatternAC(const std::string& Digits);

// The modulo-10 check digit of a UPC-E symbol's six digits, taken over the number expanded to
// UPC-A with NumberSystem ('0' or '1').
char UPCECheckDigit(char NumberSystem, const std::string& Six);

// Data preceded by as many "0" as it takes to reach Length; never shortened.
std::string PadLeftZeros(std::size_t Length, const std::string& Data);
// Replaces the last digit of Digits by the add-on check value of the ones before it: weight 3
// for the right-most of them and every second one leftwards, 9 for the others, modulo 10.
std::string AppendAddOnCheck(const std::string& Digits);

}  // namespace ribbon
