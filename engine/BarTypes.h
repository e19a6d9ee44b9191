#pragma once
// The enumerations shared by every part of the engine and by its users. Each list below
// declares its enumeration and the identifiers that the type information shows (TypeInfo.h);
// TBarType's identifiers come from the symbology catalogue.

#include <cstdint>

#include "../base/TypeInfo.h"

namespace ribbon {

enum TBarType : std::uint8_t {
    bcCode_2_5_interleaved,
    bcCode_2_5_industrial,
    bcCode_2_5_matrix,
    bcCode39,
    bcCode39Extended,
    bcCode128A,
    bcCode128B,
    bcCode128C,
    bcCode93,
    bcCode93Extended,
    bcCodeMSI,
    bcCodePostNet,
    bcCodeCodabar,
    bcCodeEAN8,
    bcCodeEAN13,
    bcCodeUPC_A,
    bcCodeUPC_E0,
    bcCodeUPC_E1,
    bcCodeUPC_Supp2,
    bcCodeUPC_Supp5,
    bcCodeEAN128A,
    bcCodeEAN128B,
    bcCodeEAN128C,
};
inline constexpr int BarTypeCount = bcCodeEAN128C + 1;

#define RIBBON_TCHECKSUM(V) V(csNone) V(csModulo10)
RIBBON_ENUM(TCheckSum, RIBBON_TCHECKSUM);

// Colour class of one drawn element.
#define RIBBON_TBARLINETYPE(V) V(white) V(black) V(black_half)
RIBBON_ENUM(TBarLineType, RIBBON_TBARLINETYPE);

// Which human-readable text the drawing writes, and where inside the symbol box.
#define RIBBON_TTEXTSHOW(V) V(tsNone) V(tsBarCode) V(tsBarType) V(tsBoth)
RIBBON_ENUM(TTextShow, RIBBON_TTEXTSHOW);
#define RIBBON_TTEXTPOSITION(V) \
    V(tpTopLeft) V(tpTopRight) V(tpTopCenter) V(tpBottomLeft) V(tpBottomRight) V(tpBottomCenter)
RIBBON_ENUM(TTextPosition, RIBBON_TTEXTPOSITION);

/// Type information of the engine's enumerations (unit ZBarCode).
RIBBON_DECLARE_TYPE_INFO(TBarType);
RIBBON_DECLARE_TYPE_INFO(TCheckSum);
RIBBON_DECLARE_TYPE_INFO(TBarLineType);
RIBBON_DECLARE_TYPE_INFO(TTextShow);
RIBBON_DECLARE_TYPE_INFO(TTextPosition);

/// What an encoding did to the data on its way into the bars; TBarSymbol::Changes holds a set
/// of them. A symbol without changes carries the data exactly as given.
enum TDataChange : std::uint8_t {
    dcPadded = 1,              ///< zeros added in front to reach the symbology's length
    dcTruncated = 2,           ///< digits beyond the symbology's length dropped
    dcCheckDigitReplaced = 4,  ///< the digit in the check digit's place replaced by the right one
    dcWrongCheckDigit = 8,     ///< the check digit given is drawn, but it is wrong
    dcLeftOut = 16,            ///< characters the symbology has no pattern for left out
    dcReplaced = 32,           ///< characters the code set lacks replaced by a space or "00"
};
using TDataChanges = std::uint8_t;

/// The pixel widths of the four width classes of the pattern alphabet, as one encoding derived
/// them from its Modul and Ratio. They travel with the pattern they belong to.
struct TBarWidths {
    int Width0 = 0;
    int Width1 = 0;
    int Width2 = 0;
    int Width3 = 0;
    friend bool operator==(const TBarWidths&, const TBarWidths&) = default;
};

/// One element of a pattern: its width in pixels and its colour class.
struct TBarLine {
    int Width = 0;
    TBarLineType LineType = white;
};

}  // namespace ribbon
