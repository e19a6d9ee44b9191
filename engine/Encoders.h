#pragma once
// The encoding pipeline and the encoders behind it. Internal to the engine; the tests and the
// ribbon tool use it to look at patterns and width classes.
//
// A pattern holds one character per element, left to right: "0".."3" spaces, "5".."8" full
// bars and "A".."D" short bars, the rank inside each group naming the width class Width0..Width3.
// A module-count string holds one digit "1".."4" per element, bars and spaces alternating from a
// bar; CountsToPattern turns it into a pattern.

#include <string>

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

std::string EncodeCode39(const std::string& Data, TCheckSum CheckSum);
std::string EncodeCode39Extended(const std::string& Data, TCheckSum CheckSum);
std::string EncodeCode93(const std::string& Data);
std::string EncodeCode93Extended(const std::string& Data);

}  // namespace RIBBON_EDITION
}  // namespace ribbon
