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

#include "engine/ZBarCode.h"

namespace ribbon {
inline namespace RIBBON_EDITION {

// Validates BarCode for BarType and encodes it. Ratio is clamped in place to the range of the
// symbology; Text (preset by the caller) is rewritten by the encoders that show the data as
// actually encoded; Pattern receives the whole pattern. Returns the width classes.
TBarWidths EncodeBar(TBarType BarType, const std::string& BarCode, int Modul, double& Ratio,
                     TCheckSum CheckSum, std::string& Text, std::string& Pattern);

// Width in pixels and colour class of one pattern character. Raises "Internal Error." for a
// character outside the alphabet.
TBarLine GetBarLine(char Element, const TBarWidths& Widths);

std::string CountsToPattern(const std::string& Counts);
std::string AppendModulo10(const std::string& Digits);
std::string ApplyCheckSum(TCheckSum CheckSum, const std::string& Data);

// Value of a decimal digit; any other character raises the runtime's integer-conversion error,
// so that no digit table is ever read outside its ten rows.
int DigitValue(char Digit);

std::string EncodeCode39(const std::string& Data, TCheckSum CheckSum);
std::string EncodeCode39Extended(const std::string& Data, TCheckSum CheckSum);
std::string EncodeCode93(const std::string& Data);
std::string EncodeCode93Extended(const std::string& Data);

// Code 128 and EAN-128 in the fixed code set of BarType. Text receives the data as encoded
// (with the EAN-128 check digit and the "0" that pads odd Code C data).
std::string EncodeCode128(TBarType BarType, const std::string& Data, TCheckSum CheckSum,
                          std::string& Text);

// The 2 of 5 family, MSI and PostNet take digits only (EncodeBar has checked them).
std::string EncodeCode25Interleaved(const std::string& Data);
std::string EncodeCode25Industrial(const std::string& Data);
std::string EncodeCode25Matrix(const std::string& Data);
std::string EncodeMSI(const std::string& Data);
std::string EncodePostNet(const std::string& Data);
std::string EncodeCodabar(const std::string& Data);

// Sum of the decimal digits of a non-negative integer written in decimal (0 for "" and "0").
long long DigitSum(std::string_view Decimal);

// EAN and UPC. The UPC encoders rewrite Text to the digits encoded when CheckSum is csModulo10.
std::string EncodeEAN8(const std::string& Data, TCheckSum CheckSum);
std::string EncodeEAN13(const std::string& Data, TCheckSum CheckSum);
std::string EncodeUPCA(const std::string& Data, TCheckSum CheckSum, std::string& Text);
std::string EncodeUPCE0(const std::string& Data, TCheckSum CheckSum, std::string& Text);
std::string EncodeUPCE1(const std::string& Data, TCheckSum CheckSum, std::string& Text);
std::string EncodeUPCSupp2(const std::string& Data, TCheckSum CheckSum, std::string& Text);
std::string EncodeUPCSupp5(const std::string& Data, TCheckSum CheckSum, std::string& Text);

// Data preceded by as many "0" as it takes to reach Length; never shortened.
std::string PadLeftZeros(std::size_t Length, const std::string& Data);
// Replaces the last digit of Digits by the add-on check value of the ones before it: weight 3
// for the right-most of them and every second one leftwards, 9 for the others, modulo 10.
std::string AppendAddOnCheck(const std::string& Digits);

}  // namespace RIBBON_EDITION
}  // namespace ribbon
