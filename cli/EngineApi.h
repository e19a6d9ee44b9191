#pragma once
// The ribbon tool offers both editions of the engine. Each edition is reached through one of
// these tables; EngineApi.cpp is compiled once per edition to fill them.

#include <array>
#include <string>
#include <string_view>

#include "engine/BarTypes.h"
#include "graphics/Graphics.h"

namespace ribbon {
class TCustomCanvas;
}

namespace ribbon::cli {

// One encoding of the data, taken by the measures and the drawing below so that a command
// encodes its data once.
struct Encoding {
    TBarType Type = bcCode39;
    std::string Pattern;
    std::string Text;  // the text the drawing would show
    TBarWidths Widths;
    double Ratio = 0;          // clamped to the symbology's range
    int Width = 0;             // Z_GetBarWidth
    std::string Encoded;       // the data the bars carry
    TDataChanges Changes = 0;  // what the engine did to the data on the way
    std::string Notice;        // the same in words
};

struct CatalogueRow {
    std::string_view Identifier;
    std::string_view Name;
    bool NumericOnly;
};

struct EngineApi {
    std::string_view Edition;
    CatalogueRow (*Row)(TBarType BarType);
    Encoding (*Encode)(TBarType BarType, const std::string& BarCode, int Modul, double Ratio,
                       TCheckSum CheckSum);
    int (*CanvasWidth)(const Encoding& Symbol, int Height, double Angle);
    int (*CanvasHeight)(const Encoding& Symbol, int Height, double Angle);
    // Z_DrawBar
    void (*Draw)(TCustomCanvas& Canvas, const Encoding& Symbol, int Left, int Top, int Height,
                 const TFont& Font, TTextShow TextShow, TTextPosition TextPosition, TColor ColorBar,
                 TColor ColorSpc, TColor TextColor, double Angle);
};

const EngineApi& DesktopEngine();
const EngineApi& WebEngine();

// The TBarType identifiers ("bcCode128B"), indexed by ordinal.
extern const std::array<std::string_view, BarTypeCount> BarTypeIdentifiers;

}  // namespace ribbon::cli
