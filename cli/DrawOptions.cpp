// Reading the drawing options.

#include "cli/DrawOptions.h"

#include <cctype>
#include <cmath>
#include <string_view>

namespace ribbon::cli {

TColor ReadColor(const Options& options, const std::string& name, TColor fallback) {
    const auto value = options.Get(name);
    if (!value) return fallback;
    const std::string& v = *value;
    if (v.size() == 7 && v[0] == '#') {
        TColor rgb = 0;
        bool hex = true;
        for (std::size_t i = 1; i < 7; ++i) {
            const int c = std::tolower(static_cast<unsigned char>(v[i]));
            if (!std::isxdigit(c)) hex = false;
            rgb = rgb * 16 + static_cast<TColor>(std::isdigit(c) ? c - '0' : c - 'a' + 10);
        }
        // #RRGGBB is written red first; TColor holds red in its low byte.
        if (hex) return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    }
    if (auto named = IdentToColor(v)) return *named;
    std::string names;
    for (const TColorName& entry : ColorNames)
        names += (names.empty() ? "" : ", ") + std::string(entry.Name);
    throw UsageError("option --" + name + ": '" + v + "' is neither #RRGGBB nor a colour name (" +
                     names + ")");
}

std::string Lower(std::string_view s) {
    std::string out;
    for (char c : s) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

DrawingOptions ReadDrawingOptions(const Options& options) {
    DrawingOptions d;
    d.Angle = options.Double("angle", 0.0);
    if (!std::isfinite(d.Angle) || std::fabs(d.Angle) > 1e9)
        throw UsageError("option --angle: give a finite angle in degrees");
    d.TextShow = Choice(options, "text", tsNone, TextShows);
    d.TextPosition = Choice(options, "text-position", tpBottomCenter, TextPositions);
    d.BarColor = ReadColor(options, "bar-color", clBlack);
    d.SpaceColor = ReadColor(options, "space-color", clWhite);
    d.TextBackground = ReadColor(options, "text-background", clWhite);
    d.Background = ReadColor(options, "background", clWhite);
    if (auto face = options.Get("font")) d.Font.Name = *face;
    d.Font.Size = options.Int("font-size", d.Font.Size);
    d.Font.Color = ReadColor(options, "font-color", clBlack);
    if (options.Has("bold")) d.Font.Style.Include(fsBold);
    if (options.Has("italic")) d.Font.Style.Include(fsItalic);
    if (options.Has("underline")) d.Font.Style.Include(fsUnderline);
    if (options.Has("strikeout")) d.Font.Style.Include(fsStrikeOut);
    return d;
}

}  // namespace ribbon::cli
