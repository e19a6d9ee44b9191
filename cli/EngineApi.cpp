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
    Encoding e;
    e.Text = BarCode;
    double ratio = Ratio;
    e.Widths = EncodeBar(BarType, BarCode, Modul, ratio, CheckSum, e.Text, e.Pattern);
    e.Width = Z_GetBarWidth(BarType, BarCode, Modul, Ratio, CheckSum);
    return e;
}

constexpr EngineApi Api = {
    WebEdition ? "web" : "desktop", Row, Encode, Z_GetCanvasWidth, Z_GetCanvasHeight, Z_DrawBar,
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
