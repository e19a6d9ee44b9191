#pragma once
// The drawing options that render and print share: text, colours, font and angle.

#include <set>
#include <string>

#include "cli/Options.h"
#include "engine/BarTypes.h"
#include "runtime/Graphics.h"

namespace ribbon::cli {

struct DrawingOptions {
    TTextShow TextShow;
    TTextPosition TextPosition;
    TColor BarColor, SpaceColor, TextBackground, Background;
    TFont Font;
    double Angle;
};

extern const std::set<std::string> DrawingValueOptions;
extern const std::set<std::string> DrawingFlags;

DrawingOptions ReadDrawingOptions(const Options& options);

// An integer option in 1..most.
int Positive(const Options& options, const std::string& name, int fallback, int most);

std::string Lower(std::string_view s);

}  // namespace ribbon::cli
