// render: draws the symbol into a picture file.

#include <cctype>
#include <cmath>
#include <iostream>
#include <string_view>

#include "cli/Commands.h"
#include "cli/EngineApi.h"
#include "cli/Json.h"
#include "cli/Options.h"
#include "runtime/Bitmap.h"
#include "runtime/Exceptions.h"

namespace ribbon::cli {

namespace {

// A quiet zone of this many modules surrounds the symbol unless --left/--top place it.
constexpr int QuietModules = 10;

std::string Lower(std::string_view s) {
    std::string out;
    for (char c : s) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

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

constexpr std::pair<std::string_view, TTextShow> TextShows[] = {
    {"none", tsNone}, {"barcode", tsBarCode}, {"bartype", tsBarType}, {"both", tsBoth}};

constexpr std::pair<std::string_view, TTextPosition> TextPositions[] = {
    {"top-left", tpTopLeft},         {"top-right", tpTopRight},
    {"top-center", tpTopCenter},     {"bottom-left", tpBottomLeft},
    {"bottom-right", tpBottomRight}, {"bottom-center", tpBottomCenter}};

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

int Positive(const Options& options, const std::string& name, int fallback, int most) {
    const int v = options.Int(name, fallback);
    if (v < 1 || v > most)
        throw UsageError("option --" + name + ": " + std::to_string(v) + " is outside 1.." +
                         std::to_string(most));
    return v;
}

struct PictureSize {
    long long Width, Height;
};

PictureSize ReadSize(const std::string& text) {
    const auto x = Lower(text).find('x');
    auto number = [&](const std::string& digits) -> long long {
        if (digits.empty() || digits.size() > 9) return -1;
        for (char c : digits)
            if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
        return std::stoll(digits);
    };
    if (x != std::string::npos) {
        const long long w = number(text.substr(0, x)), h = number(text.substr(x + 1));
        if (w > 0 && h > 0) return {w, h};
    }
    throw UsageError("option --size: '" + text + "' is not WIDTHxHEIGHT in pixels (e.g. 500x200)");
}

int Side(long long v) {
    // Out-of-range sides are refused by the bitmap with a message naming the size.
    return v > TBitmap::MaxSide ? TBitmap::MaxSide + 1 : v < 0 ? -1 : static_cast<int>(v);
}

}  // namespace

int RunRender(const Args& args) {
    auto valueOptions = SymbolValueOptions;
    valueOptions.insert({"out", "left", "top", "height", "angle", "text", "text-position",
                         "bar-color", "space-color", "text-background", "background", "font",
                         "font-size", "font-color", "size", "jpeg-quality"});
    auto flags = SymbolFlags;
    flags.insert({"bold", "italic", "underline", "strikeout", "progressive"});
    const Options options(args, valueOptions, flags);
    const SymbolOptions s = ReadSymbolOptions(options);

    const std::string out = options.Required("out");
    try {
        ImageFormatFromFileName(out);
    } catch (const EImageError&) {
        throw UsageError("option --out: '" + out + "' does not end in .png, .jpg, .jpeg or .bmp");
    }
    if (s.Modul < 1) throw UsageError("option --modul: render needs a module of at least 1 pixel");
    const int height = options.Int("height", 50);
    if (height < 1)
        throw UsageError("option --height: render needs a bar height of at least 1 pixel");
    const double angle = options.Double("angle", 0.0);
    if (!std::isfinite(angle) || std::fabs(angle) > 1e9)
        throw UsageError("option --angle: give a finite angle in degrees");

    const TTextShow textShow = Choice(options, "text", tsNone, TextShows);
    const TTextPosition position = Choice(options, "text-position", tpBottomCenter, TextPositions);
    const TColor barColor = ReadColor(options, "bar-color", clBlack);
    const TColor spaceColor = ReadColor(options, "space-color", clWhite);
    const TColor textBackground = ReadColor(options, "text-background", clWhite);
    const TColor background = ReadColor(options, "background", clWhite);

    TFont font;
    if (auto face = options.Get("font")) font.Name = *face;
    font.Size = Positive(options, "font-size", font.Size, 1000);
    font.Color = ReadColor(options, "font-color", clBlack);
    if (options.Has("bold")) font.Style.Include(fsBold);
    if (options.Has("italic")) font.Style.Include(fsItalic);
    if (options.Has("underline")) font.Style.Include(fsUnderline);
    if (options.Has("strikeout")) font.Style.Include(fsStrikeOut);

    TJPEGOptions jpeg;
    jpeg.CompressionQuality = Positive(options, "jpeg-quality", jpeg.CompressionQuality, 100);
    jpeg.ProgressiveEncoding = options.Has("progressive");

    // The upright box around the turned symbol: its width is what the engine calls the canvas
    // height, and the other way round.
    const Encoding symbol = s.Engine->Encode(s.Type, s.Data, s.Modul, s.Ratio, s.CheckSum);
    const long long boxWidth = s.Engine->CanvasHeight(symbol, height, angle);
    const long long boxHeight = s.Engine->CanvasWidth(symbol, height, angle);
    const long long quiet = static_cast<long long>(QuietModules) * s.Modul;
    const int left = options.Int("left", static_cast<int>(std::min<long long>(quiet, 1 << 30)));
    const int top = options.Int("top", static_cast<int>(std::min<long long>(quiet, 1 << 30)));
    PictureSize size{left + boxWidth + quiet, top + boxHeight + quiet};
    if (auto given = options.Get("size")) size = ReadSize(*given);

    TBitmap bitmap(Side(size.Width), Side(size.Height));
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush.SetColor(background);
    canvas.FillRect({0, 0, bitmap.Width(), bitmap.Height()});
    s.Engine->Draw(canvas, symbol, left, top, height, font, textShow, position, barColor,
                   spaceColor, textBackground, angle);
    bitmap.SaveToFile(out, jpeg);

    std::cout << "{\"out\": " << JsonString(out) << ", \"width\": " << bitmap.Width()
              << ", \"height\": " << bitmap.Height() << ", \"left\": " << left
              << ", \"top\": " << top << "}\n";
    return 0;
}

}  // namespace ribbon::cli
