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

template <std::size_t N>
constexpr TTypeInfo Enumeration(std::string_view Name, const std::string_view (&Values)[N]) {
    return {TTypeKind::Enumeration, Name, "ZBarCode", Values};
}

constexpr TTypeInfo BarTypeInfo{TTypeKind::Enumeration, "TBarType", "ZBarCode", TBarTypeNames};
constexpr TTypeInfo CheckSumInfo = Enumeration("TCheckSum", TCheckSumNames);
constexpr TTypeInfo BarLineTypeInfo = Enumeration("TBarLineType", TBarLineTypeNames);
constexpr TTypeInfo TextShowInfo = Enumeration("TTextShow", TTextShowNames);
constexpr TTypeInfo TextPositionInfo = Enumeration("TTextPosition", TTextPositionNames);

}  // namespace

template <>
const TTypeInfo& TypeInfoOf<TBarType>() {
    return BarTypeInfo;
}
template <>
const TTypeInfo& TypeInfoOf<TCheckSum>() {
    return CheckSumInfo;
}
template <>
const TTypeInfo& TypeInfoOf<TBarLineType>() {
    return BarLineTypeInfo;
}
template <>
const TTypeInfo& TypeInfoOf<TTextShow>() {
    return TextShowInfo;
}
template <>
const TTypeInfo& TypeInfoOf<TTextPosition>() {
    return TextPositionInfo;
}

}  // namespace ribbon
