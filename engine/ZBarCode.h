#pragma once
// The public face of the barcode engine: the symbology catalogue, measuring and drawing.
//
// The functions that take the data encode it afresh; Z_EncodeBar encodes once for callers that
// measure and draw the same symbol. Nothing is cached and no state is shared between calls, so
// all of them may be called from several threads at once. Errors are raised as
// ribbon::Exception (or a subclass) carrying the message to show the user.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "../base/Export.h"
#include "../engine/BarTypes.h"
#include "../engine/Edition.h"

namespace ribbon {

class TCustomCanvas;
class TFont;
using TColor = std::uint32_t;

/// One row of the symbology table. NumericOnly is the desktop edition's answer;
/// Z_IsNumericOnly answers for either edition.
struct TBCdata {
    std::string_view Name;
    bool NumericOnly;
};

/// The symbology table, indexed by TBarType.
RIBBON_API extern const std::array<TBCdata, BarTypeCount> BCData;

/// Type information of the table's row and of the table itself (23 rows indexed by TBarType).
RIBBON_DECLARE_TYPE_INFO(TBCdata);
RIBBON_DECLARE_TYPE_INFO(std::remove_const_t<decltype(BCData)>);

/// One encoding of the data with everything that measuring and drawing take from it, so that a
/// caller that measures and then draws the same symbol encodes it once.
struct TBarSymbol {
    TBarType BarType = bcCode39;
    std::string Pattern;
    std::string Text;  ///< the data as the human-readable text shows it (tsBarCode)
    TBarWidths Widths;
    double Ratio = 0;          ///< the ratio after clamping to the symbology's range
    int Length = 0;            ///< symbol length in pixels, as Z_GetBarWidth gives it
    std::string Encoded;       ///< the data as the bars carry it, as a scanner reads it back
    TDataChanges Changes = 0;  ///< what the encoding did to the data (TDataChange bits)
    std::string Notice;        ///< the changes in words, empty when there are none
};

/// Display name of a symbology ("Code39", "Codebar", ...). Raises "Wrong barcode type." for an
/// ordinal beyond the table.
RIBBON_API std::string Z_GetBarTypeName(TBarType BarType);

/// The name of a symbology's enumerator ("bcCode39") and the friendlier names a user may type
/// for it ("ean13", "upc-a"; none for some). Raise as Z_GetBarTypeName does.
RIBBON_API std::string_view Z_GetBarTypeIdentifier(TBarType BarType);
RIBBON_API std::span<const std::string_view> Z_GetBarTypeAliases(TBarType BarType);

/// Whether the symbology takes digits only under Rules. Raises as Z_GetBarTypeName does.
RIBBON_API bool Z_IsNumericOnly(TBarType BarType, const TEditionRules& Rules = DesktopRules);

/// Validates the data and encodes it under Rules, without measuring: the symbol's Length is
/// left 0. Raises "<data> : Barcode must be numeric." and what the symbology's encoder raises.
RIBBON_API TBarSymbol EncodeBar(TBarType BarType, const std::string& BarCode, int Modul,
                                double Ratio, TCheckSum CheckSum,
                                const TEditionRules& Rules = DesktopRules);

/// Length of the symbol in pixels: the sum of the widths of all its elements.
RIBBON_API int Z_GetBarWidth(TBarType BarType, const std::string& BarCode, int Modul, double Ratio,
                             TCheckSum CheckSum, const TEditionRules& Rules = DesktopRules);

/// Encodes once; raises what Z_GetBarWidth raises for the same arguments.
RIBBON_API TBarSymbol Z_EncodeBar(TBarType BarType, const std::string& BarCode, int Modul,
                                  double Ratio, TCheckSum CheckSum,
                                  const TEditionRules& Rules = DesktopRules);

/// Extents of the upright box around the symbol box (symbol length x Height) turned by Angle
/// degrees. Width pairs the symbol length with the sine; height pairs it with the cosine.
RIBBON_API int Z_GetCanvasWidth(TBarType BarType, const std::string& BarCode, int Modul,
                                double Ratio, TCheckSum CheckSum, int Height, double Angle,
                                const TEditionRules& Rules = DesktopRules);
RIBBON_API int Z_GetCanvasHeight(TBarType BarType, const std::string& BarCode, int Modul,
                                 double Ratio, TCheckSum CheckSum, int Height, double Angle,
                                 const TEditionRules& Rules = DesktopRules);

/// The measures and the drawing of an encoded symbol; the same results as the functions that
/// take the data.
RIBBON_API int Z_GetCanvasWidth(const TBarSymbol& Symbol, int Height, double Angle);
RIBBON_API int Z_GetCanvasHeight(const TBarSymbol& Symbol, int Height, double Angle);
RIBBON_API void Z_DrawBar(TCustomCanvas& Canvas, const TBarSymbol& Symbol, int Left, int Top,
                          int Height, const TFont& Font, TTextShow TextShow,
                          TTextPosition TextPosition, TColor ColorBar, TColor ColorSpc,
                          TColor TextColor, double Angle);

/// Draws the symbol, and optionally its text, onto Canvas. The canvas's font, pen and brush are
/// left as they were found.
RIBBON_API void Z_DrawBar(TCustomCanvas& Canvas, TBarType BarType, const std::string& BarCode,
                          int Modul, double Ratio, TCheckSum CheckSum, int Left, int Top,
                          int Height, const TFont& Font, TTextShow TextShow,
                          TTextPosition TextPosition, TColor ColorBar, TColor ColorSpc,
                          TColor TextColor, double Angle,
                          const TEditionRules& Rules = DesktopRules);

// Printing in physical units on the process-wide printer (desktop rules). Lengths are
// millimetres or inches, turned into printer pixels with the printer's resolution, read anew
// for every length.
#define RIBBON_TUNITS(V) V(utMillimeter) V(utInch)
RIBBON_ENUM(TUnits, RIBBON_TUNITS);

/// Z_DrawBar on the printer's current page: Modul and Left converted with the horizontal
/// resolution, Top and Height with the vertical one; for any other Units the lengths are taken
/// as pixels. The caller begins and ends the job; without one this raises and draws nothing.
RIBBON_API void Z_PrintBar(TUnits Units, TBarType BarType, const std::string& BarCode, double Modul,
                           double Ratio, TCheckSum CheckSum, double Left, double Top, double Height,
                           const TFont& Font, TTextShow TextShow, TTextPosition TextPosition,
                           TColor ColorBar, TColor ColorSpc, TColor TextColor, double Angle);

/// Where Z_PrintBar with the same arguments draws on the printer's page, in printer pixels: the
/// module and bar height it draws with, and the upright box around the turned symbol, which
/// starts at (Left, Top). Raises what Z_PrintBar raises for the data and the lengths; needs no
/// print job, so a caller can check that every symbol fits the paper before it begins one.
struct TPrnBarBox {
    int Modul = 0;
    int BarHeight = 0;
    int Left = 0, Top = 0, Width = 0, Height = 0;
};
RIBBON_API TPrnBarBox Z_PrnBarBox(TUnits Units, TBarType BarType, const std::string& BarCode,
                                  double Modul, double Ratio, TCheckSum CheckSum, double Left,
                                  double Top, double Height, double Angle);

/// The printer measures in whole units (halves to even), or -1.0 for any other Units. Modul is
/// converted horizontally, and so is the Height of the two canvas measures; the canvas height
/// is converted back vertically.
RIBBON_API double Z_GetPrnBarWidth(TUnits Units, TBarType BarType, const std::string& BarCode,
                                   double Modul, double Ratio, TCheckSum CheckSum);
RIBBON_API double Z_PrnCanvasWidth(TUnits Units, TBarType BarType, const std::string& BarCode,
                                   double Modul, double Ratio, TCheckSum CheckSum, double Height,
                                   double Angle);
RIBBON_API double Z_PrnCanvasHeight(TUnits Units, TBarType BarType, const std::string& BarCode,
                                    double Modul, double Ratio, TCheckSum CheckSum, double Height,
                                    double Angle);

RIBBON_DECLARE_TYPE_INFO(TUnits);
}  // namespace ribbon
