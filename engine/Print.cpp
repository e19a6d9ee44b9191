// Printing and measuring on the printer in millimetres or inches.

#include <cmath>
#include <limits>

#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/Numeric.h"
#include "engine/ZBarCode.h"
#include "vector/Printer.h"

namespace ribbon {
namespace {

enum class Direction { Horizontal, Vertical };

// Read from the device every time: the printer may have been set up anew between two lengths.
long double PrinterDpi(Direction d) {
    return Printer().GetDeviceCaps(d == Direction::Horizontal ? LOGPIXELSX : LOGPIXELSY);
}

int ToInt(long long v, double Length) {
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        throw Exception(Format("The length %g is too large for the printer.", Length));
    return static_cast<int>(v);
}

bool KnownUnits(TUnits Units) {
    return Units == utMillimeter || Units == utInch;
}

// A length in Units to printer pixels; any other Units takes it as pixels already.
int ToDevice(TUnits Units, double v, Direction d) {
    const long double length = v;
    long double pixels = length;
    if (Units == utMillimeter)
        pixels = PrinterDpi(d) * length / 25.4L;
    else if (Units == utInch)
        pixels = PrinterDpi(d) * length;
    // Also refuses NaN and infinities, which no length in pixels can be.
    if (!(std::fabs(pixels) <= std::numeric_limits<int>::max()))
        throw Exception(Format("The length %g is too large for the printer.", v));
    return ToInt(RoundHalfEven(pixels), v);
}

// Printer pixels to whole units.
double FromDevice(TUnits Units, int p, Direction d) {
    const long double pixels = p;
    const long double units =
        Units == utMillimeter ? pixels * 25.4L / PrinterDpi(d) : pixels / PrinterDpi(d);
    return static_cast<double>(RoundHalfEven(units));
}

// One side of the turned canvas on the printer, read back in that side's direction. Modul and
// Height both go through the horizontal resolution, for either side.
using CanvasSide = int (*)(TBarType, const std::string&, int, double, TCheckSum, int, double,
                           const TEditionRules&);
double PrnCanvasSide(CanvasSide measure, Direction side, TUnits Units, TBarType BarType,
                     const std::string& BarCode, double Modul, double Ratio, TCheckSum CheckSum,
                     double Height, double Angle) {
    if (!KnownUnits(Units)) return -1.0;
    const int modul = ToDevice(Units, Modul, Direction::Horizontal);
    const int height = ToDevice(Units, Height, Direction::Horizontal);
    return FromDevice(
        Units, measure(BarType, BarCode, modul, Ratio, CheckSum, height, Angle, DesktopRules),
        side);
}

// The lengths of Z_PrintBar in printer pixels: Modul and Left horizontally, Top and Height
// vertically.
struct DeviceLengths {
    int modul, left, top, height;
};
DeviceLengths ToDevice(TUnits Units, double Modul, double Left, double Top, double Height) {
    return {ToDevice(Units, Modul, Direction::Horizontal),
            ToDevice(Units, Left, Direction::Horizontal), ToDevice(Units, Top, Direction::Vertical),
            ToDevice(Units, Height, Direction::Vertical)};
}

}  // namespace

void Z_PrintBar(TUnits Units, TBarType BarType, const std::string& BarCode, double Modul,
                double Ratio, TCheckSum CheckSum, double Left, double Top, double Height,
                const TFont& Font, TTextShow TextShow, TTextPosition TextPosition, TColor ColorBar,
                TColor ColorSpc, TColor TextColor, double Angle) {
    TCustomCanvas& canvas = Printer().Canvas();  // raises unless a job is running
    const DeviceLengths d = ToDevice(Units, Modul, Left, Top, Height);
    Z_DrawBar(canvas, BarType, BarCode, d.modul, Ratio, CheckSum, d.left, d.top, d.height, Font,
              TextShow, TextPosition, ColorBar, ColorSpc, TextColor, Angle);
}

TPrnBarBox Z_PrnBarBox(TUnits Units, TBarType BarType, const std::string& BarCode, double Modul,
                       double Ratio, TCheckSum CheckSum, double Left, double Top, double Height,
                       double Angle) {
    const DeviceLengths d = ToDevice(Units, Modul, Left, Top, Height);
    const TBarSymbol symbol = Z_EncodeBar(BarType, BarCode, d.modul, Ratio, CheckSum);
    // The engine's canvas width pairs the symbol length with the sine: the box's height.
    return {d.modul,
            d.height,
            d.left,
            d.top,
            Z_GetCanvasHeight(symbol, d.height, Angle),
            Z_GetCanvasWidth(symbol, d.height, Angle)};
}

double Z_GetPrnBarWidth(TUnits Units, TBarType BarType, const std::string& BarCode, double Modul,
                        double Ratio, TCheckSum CheckSum) {
    if (!KnownUnits(Units)) return -1.0;
    const int modul = ToDevice(Units, Modul, Direction::Horizontal);
    const int w = Z_GetBarWidth(BarType, BarCode, modul, Ratio, CheckSum);
    return FromDevice(Units, w, Direction::Horizontal);
}

double Z_PrnCanvasWidth(TUnits Units, TBarType BarType, const std::string& BarCode, double Modul,
                        double Ratio, TCheckSum CheckSum, double Height, double Angle) {
    return PrnCanvasSide(Z_GetCanvasWidth, Direction::Horizontal, Units, BarType, BarCode, Modul,
                         Ratio, CheckSum, Height, Angle);
}

double Z_PrnCanvasHeight(TUnits Units, TBarType BarType, const std::string& BarCode, double Modul,
                         double Ratio, TCheckSum CheckSum, double Height, double Angle) {
    return PrnCanvasSide(Z_GetCanvasHeight, Direction::Vertical, Units, BarType, BarCode, Modul,
                         Ratio, CheckSum, Height, Angle);
}

}  // namespace ribbon
