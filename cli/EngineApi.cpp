// Compiled once per engine edition (RIBBON_WEB_EDITION 0 or 1).

#include "cli/EngineApi.h"

#include "engine/Encoders.h"
#include "engine/ZBarCode.h"

namespace ribbon::cli {

namespace {

CatalogueRow Row(TBarType BarType) {
    return {BarTypeIdentifiers[BarType], BCData[BarType].Name, BCData[BarType].NumericOnly};
}

Encoding Encode(TBarType BarType, const std::string& BarCode, int Modul, double Ratio,
                TCheckSum CheckSum) {
    TBarSymbol s = Z_EncodeBar(BarType, BarCode, Modul, Ratio, CheckSum);
    return {s.BarType, std::move(s.Pattern), std::move(s.Text), s.Widths,           s.Ratio,
            s.Length,  std::move(s.Encoded), s.Changes,         std::move(s.Notice)};
}

TBarSymbol Symbol(const Encoding& e) {
    return {e.Type, e.Pattern, e.Text, e.Widths, e.Ratio, e.Width, e.Encoded, e.Changes, e.Notice};
}

int CanvasWidth(const Encoding& e, int Height, double Angle) {
    return Z_GetCanvasWidth(Symbol(e), Height, Angle);
}

int CanvasHeight(const Encoding& e, int Height, double Angle) {
    return Z_GetCanvasHeight(Symbol(e), Height, Angle);
}

void Draw(TCustomCanvas& Canvas, const Encoding& e, int Left, int Top, int Height,
          const TFont& Font, TTextShow TextShow, TTextPosition TextPosition, TColor ColorBar,
          TColor ColorSpc, TColor TextColor, double Angle) {
    Z_DrawBar(Canvas, Symbol(e), Left, Top, Height, Font, TextShow, TextPosition, ColorBar,
              ColorSpc, TextColor, Angle);
}

constexpr EngineApi Api = {
    WebEdition ? "web" : "desktop", Row, Encode, CanvasWidth, CanvasHeight, Draw,
};

}  // namespace

#if RIBBON_WEB_EDITION
const EngineApi& WebEngine() {
    return Api;
}
#else
const EngineApi& DesktopEngine() {
    return Api;
}
#endif

}  // namespace ribbon::cli
