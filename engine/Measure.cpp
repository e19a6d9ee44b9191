// Measuring: the symbol length and the extents of the symbol box turned by an angle.

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/Numeric.h"
#include "engine/Elements.h"
#include "engine/Encoders.h"
#include "engine/ZBarCode.h"

namespace ribbon {
TBarSymbol Z_EncodeBar(TBarType BarType, const std::string& BarCode, int Modul, double Ratio,
                       TCheckSum CheckSum, const TEditionRules& Rules) {
    TBarSymbol symbol = EncodeBar(BarType, BarCode, Modul, Ratio, CheckSum, Rules);
    std::int64_t total = 0;
    const TElementReader read(symbol.Widths);
    for (const char element : symbol.Pattern) total += read(element).Width;
    if (total > std::numeric_limits<int>::max() || total < std::numeric_limits<int>::min())
        throw Exception(Format("%s", "Bar width out of range."));
    symbol.Length = static_cast<int>(total);
    return symbol;
}

int Z_GetBarWidth(TBarType BarType, const std::string& BarCode, int Modul, double Ratio,
                  TCheckSum CheckSum, const TEditionRules& Rules) {
    return Z_EncodeBar(BarType, BarCode, Modul, Ratio, CheckSum, Rules).Length;
}

namespace {

struct Extents {
    long double along;   // symbol length term
    long double across;  // bar height term
};

// |sin| and |cos| of the angle, in extended precision, paired with W and Height.
Extents TurnedBox(int W, int Height, double Angle, bool width) {
    const long double theta = Angle / 180.0L * std::numbers::pi_v<long double>;
    const long double s = std::fabs(std::sin(theta));
    const long double c = std::fabs(std::cos(theta));
    return width ? Extents{W * s, Height * c} : Extents{W * c, Height * s};
}

int RoundExtent(const Extents& e) {
    const long long v = RoundHalfEven(e.along + e.across + 0.5L);
    if (v > std::numeric_limits<int>::max() || v < std::numeric_limits<int>::min())
        throw Exception(Format("%s", "Bar width out of range."));
    return static_cast<int>(v);
}

}  // namespace

int Z_GetCanvasWidth(const TBarSymbol& Symbol, int Height, double Angle) {
    return RoundExtent(TurnedBox(Symbol.Length, Height, Angle, true));
}

int Z_GetCanvasHeight(const TBarSymbol& Symbol, int Height, double Angle) {
    return RoundExtent(TurnedBox(Symbol.Length, Height, Angle, false));
}

int Z_GetCanvasWidth(TBarType BarType, const std::string& BarCode, int Modul, double Ratio,
                     TCheckSum CheckSum, int Height, double Angle, const TEditionRules& Rules) {
    return Z_GetCanvasWidth(Z_EncodeBar(BarType, BarCode, Modul, Ratio, CheckSum, Rules), Height,
                            Angle);
}

int Z_GetCanvasHeight(TBarType BarType, const std::string& BarCode, int Modul, double Ratio,
                      TCheckSum CheckSum, int Height, double Angle, const TEditionRules& Rules) {
    return Z_GetCanvasHeight(Z_EncodeBar(BarType, BarCode, Modul, Ratio, CheckSum, Rules), Height,
                             Angle);
}

}  // namespace ribbon
