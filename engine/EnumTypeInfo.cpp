// Type information of the engine's enumerations, generated from their declarations: the lists
// of BarTypes.h and, for TBarType, the symbology catalogue.

#include <array>

#include "engine/Symbologies.h"

namespace ribbon {
namespace {

// Read from the catalogue at compile time only, so this file needs none of its encoders.
constexpr std::array<std::string_view, BarTypeCount> TBarTypeNames = [] {
    std::array<std::string_view, BarTypeCount> names{};
    for (const TSymbology& row : Symbologies) names[row.Type] = row.Identifier;
    return names;
}();

}  // namespace

RIBBON_ENUM_TYPE_INFO(TBarType, "ZBarCode")
RIBBON_ENUM_TYPE_INFO(TCheckSum, "ZBarCode")
RIBBON_ENUM_TYPE_INFO(TBarLineType, "ZBarCode")
RIBBON_ENUM_TYPE_INFO(TTextShow, "ZBarCode")
RIBBON_ENUM_TYPE_INFO(TTextPosition, "ZBarCode")

}  // namespace ribbon
