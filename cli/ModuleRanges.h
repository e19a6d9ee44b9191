#pragma once
// The module widths that the symbology standards allow, by family. Only ranges taken from the
// standards themselves are listed; a symbology without a row is not checked.

#include <optional>
#include <string_view>

#include "engine/BarTypes.h"

namespace ribbon::cli {

struct ModuleRange {
    double LeastMillimetres, MostMillimetres;
};

// GS1 General Specifications: the X-dimension of EAN/UPC symbols, 80 % to 200 % of 0.330 mm.
inline constexpr ModuleRange EanUpcModules{0.264, 0.660};

struct StandardModule {
    TBarType Type;
    std::string_view Name;  // as the standard names the symbology
    ModuleRange Range;
};

inline constexpr StandardModule StandardModules[] = {
    {bcCodeEAN8, "EAN-8", EanUpcModules},
    {bcCodeEAN13, "EAN-13", EanUpcModules},
    {bcCodeUPC_A, "UPC-A", EanUpcModules},
    {bcCodeUPC_E0, "UPC-E0", EanUpcModules},
    {bcCodeUPC_E1, "UPC-E1", EanUpcModules},
    {bcCodeUPC_Supp2, "the 2-digit add-on", EanUpcModules},
    {bcCodeUPC_Supp5, "the 5-digit add-on", EanUpcModules},
};

constexpr std::optional<StandardModule> StandardModuleOf(TBarType Type) {
    for (const StandardModule& row : StandardModules)
        if (row.Type == Type) return row;
    return std::nullopt;
}

}  // namespace ribbon::cli
