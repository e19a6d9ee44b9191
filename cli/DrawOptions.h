#pragma once
// The drawing options that render and print share: text, colours, font and angle.

#include <string>
#include <string_view>
#include <utility>

#include "cli/Options.h"
#include "engine/BarTypes.h"
#include "graphics/Graphics.h"

namespace ribbon::cli {

struct DrawingOptions {
    TTextShow TextShow;
    TTextPosition TextPosition;
    TColor BarColor, SpaceColor, TextBackground, Background;
    TFont Font;
    double Angle;
};

DrawingOptions ReadDrawingOptions(const Options& options);

// A colour option: #RRGGBB or a colour name; fallback when the option is not given.
TColor ReadColor(const Options& options, const std::string& name, TColor fallback);

std::string Lower(std::string_view s);

// The value of an option that names one of the choices (without regard to case); fallback
// when the option is not given.
template <typename T, std::size_t N>
T Choice(const Options& options, const std::string& name, T fallback,
         const std::pair<std::string_view, T> (&choices)[N]) {
    const auto value = options.Get(name);
    if (!value) return fallback;
    std::string allowed;
    for (const auto& [word, v] : choices) {
        if (Lower(*value) == word) return v;
        allowed += (allowed.empty() ? "" : "|") + std::string(word);
    }
    throw UsageError("option --" + name + ": '" + *value + "' is not one of " + allowed);
}

inline constexpr std::pair<std::string_view, TTextShow> TextShows[] = {
    {"none", tsNone}, {"barcode", tsBarCode}, {"bartype", tsBarType}, {"both", tsBoth}};

inline constexpr std::pair<std::string_view, TTextPosition> TextPositions[] = {
    {"top-left", tpTopLeft},         {"top-right", tpTopRight},
    {"top-center", tpTopCenter},     {"bottom-left", tpBottomLeft},
    {"bottom-right", tpBottomRight}, {"bottom-center", tpBottomCenter}};

}  // namespace ribbon::cli
