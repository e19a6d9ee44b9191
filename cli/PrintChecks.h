#pragma once
// What print checks before it begins a job: that a symbol lies on the paper, and that its module
// is one the symbology's standard allows. Both read the resolution and the paper of Printer().

#include <optional>
#include <string>

#include "engine/ZBarCode.h"

namespace ribbon::cli {

// How far the box lies beyond the paper's edges, in Units ("the symbol ends 12.3 mm beyond the
// right edge of the 210 x 297 mm paper"); nothing when it lies on the paper.
std::optional<std::string> OffThePaper(const TPrnBarBox& Box, TUnits Units);

// Why a module of Modul Units, printed as Dots printer dots along a symbol turned by Angle,
// falls outside the range of the symbology's standard; nothing when it does not, or when no
// range is known.
std::optional<std::string> ModuleOutsideStandard(TBarType Type, double Modul, TUnits Units,
                                                 int Dots, double Angle);

// "0.33 mm", "0.01 in", or "8 pixels" for units the engine takes as pixels.
std::string InUnits(double Value, TUnits Units);

}  // namespace ribbon::cli
