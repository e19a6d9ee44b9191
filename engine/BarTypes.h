#pragma once
// The enumerations shared by every part of the engine and by its users. They are the same in
// both editions of the engine, so they live outside the edition namespaces.

#include <cstdint>

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

enum TCheckSum : std::uint8_t { csNone, csModulo10 };

// Colour class of one drawn element.
enum TBarLineType : std::uint8_t { white, black, black_half };

// Which human-readable text the drawing writes, and where inside the symbol box.
enum TTextShow : std::uint8_t { tsNone, tsBarCode, tsBarType, tsBoth };
enum TTextPosition : std::uint8_t {
    tpTopLeft,
    tpTopRight,
    tpTopCenter,
    tpBottomLeft,
    tpBottomRight,
    tpBottomCenter,
};

// The pixel widths of the four width classes of the pattern alphabet, as one encoding derived
// them from its Modul and Ratio. They travel with the pattern they belong to.
struct TBarWidths {
    int Width0 = 0;
    int Width1 = 0;
    int Width2 = 0;
    int Width3 = 0;
    friend bool operator==(const TBarWidths&, const TBarWidths&) = default;
};

// One element of a pattern: its width in pixels and its colour class.
struct TBarLine {
    int Width = 0;
    TBarLineType LineType = white;
};

}  // namespace ribbon
