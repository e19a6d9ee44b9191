// render: draws the symbol into a picture file.

#include <cctype>
#include <cmath>
#include <iostream>
#include <optional>
#include <string_view>

#include "base/Exceptions.h"
#include "base/Format.h"
#include "cli/Commands.h"
#include "cli/DrawOptions.h"
#include "cli/Json.h"
#include "cli/Options.h"
#include "cli/StandardOutput.h"
#include "cli/Warnings.h"
#include "graphics/Bitmap.h"
#include "vector/VectorFile.h"

namespace ribbon::cli {

namespace {

// A quiet zone of this many modules surrounds the symbol unless --left/--top place it.
constexpr int QuietModules = 10;

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

// A picture format: a vector one, or else an image one.
struct PictureFormat {
    std::optional<TVectorFormat> Vector;
    TImageFormat Image = TImageFormat::Png;
    bool operator==(const PictureFormat&) const = default;
};

std::optional<PictureFormat> FormatOfFileName(const std::string& name) {
    if (auto vector = VectorFormatFromFileName(name)) return PictureFormat{vector};
    try {
        return PictureFormat{std::nullopt, ImageFormatFromFileName(name)};
    } catch (const EImageError&) {
        return std::nullopt;
    }
}

std::optional<PictureFormat> FormatByName(const std::string& name) {
    const std::pair<std::string_view, PictureFormat> names[] = {
        {"png", {std::nullopt, TImageFormat::Png}},
        {"jpeg", {std::nullopt, TImageFormat::Jpeg}},
        {"jpg", {std::nullopt, TImageFormat::Jpeg}},
        {"bmp", {std::nullopt, TImageFormat::Bmp}},
        {"svg", {TVectorFormat::Svg}},
        {"pdf", {TVectorFormat::Pdf}},
    };
    for (const auto& [n, format] : names)
        if (n == Lower(name)) return format;
    return std::nullopt;
}

// A file's extension names its format; --format must agree with it, and is needed for "-"
// (standard output), which has none.
PictureFormat ReadPictureFormat(const Options& options, const std::string& out) {
    std::optional<PictureFormat> ofName;
    if (out != "-") {
        ofName = FormatOfFileName(out);
        if (!ofName)
            throw UsageError("option --out: '" + out +
                             "' does not end in .png, .jpg, .jpeg, .bmp, .svg or .pdf");
    }
    const std::optional<std::string> given = options.Get("format");
    if (!given) {
        if (!ofName)
            throw UsageError(
                "option --out -: give --format png|svg|pdf|jpeg|bmp for the picture on standard "
                "output");
        return *ofName;
    }
    const std::optional<PictureFormat> named = FormatByName(*given);
    if (!named)
        throw UsageError("option --format: '" + *given + "' is not one of png|svg|pdf|jpeg|bmp");
    if (ofName && ofName != named)
        throw UsageError("option --format: '" + *given + "' does not match the extension of '" +
                         out + "'");
    return *named;
}

int Side(long long v) {
    // Out-of-range sides are refused by the bitmap with a message naming the size.
    return v > TBitmap::MaxSide ? TBitmap::MaxSide + 1 : v < 0 ? -1 : static_cast<int>(v);
}

}  // namespace

int RunRender(const Args& args) {
    const Options options(args, cmdRender);
    SetStrict(options.Has("strict"));
    const SymbolOptions s = ReadSymbolOptions(options);

    const std::string out = options.Required("out");
    const bool toStandardOutput = out == "-";
    const PictureFormat format = ReadPictureFormat(options, out);
    if (s.Modul < 1) throw UsageError("option --modul: render needs a module of at least 1 pixel");
    const int height = options.Int("height", 50);
    if (height < 1)
        throw UsageError("option --height: render needs a bar height of at least 1 pixel");
    const DrawingOptions d = ReadDrawingOptions(options);

    TJPEGOptions jpeg;
    jpeg.CompressionQuality = options.Int("jpeg-quality", jpeg.CompressionQuality);
    jpeg.ProgressiveEncoding = options.Has("progressive");

    // The upright box around the turned symbol: its width is what the engine calls the canvas
    // height, and the other way round.
    const TBarSymbol symbol = Z_EncodeBar(s.Type, s.Data, s.Modul, s.Ratio, s.CheckSum, s.Rules);
    WarnDataChanges(s.Data, symbol);
    const long long boxWidth = Z_GetCanvasHeight(symbol, height, d.Angle);
    const long long boxHeight = Z_GetCanvasWidth(symbol, height, d.Angle);
    const long long quiet = static_cast<long long>(QuietModules) * s.Modul;
    const int left = options.Int("left", static_cast<int>(std::min<long long>(quiet, 1 << 30)));
    const int top = options.Int("top", static_cast<int>(std::min<long long>(quiet, 1 << 30)));
    PictureSize size{left + boxWidth + quiet, top + boxHeight + quiet};
    if (auto given = options.Get("size")) size = ReadSize(*given);

    auto draw = [&](TCustomCanvas& canvas, int width, int height_) {
        canvas.Brush.SetColor(d.Background);
        canvas.FillRect({0, 0, width, height_});
        Z_DrawBar(canvas, symbol, left, top, height, d.Font, d.TextShow, d.TextPosition, d.BarColor,
                  d.SpaceColor, d.TextBackground, d.Angle);
    };
    int width = 0, pictureHeight = 0;
    if (format.Vector) {
        // The same pixels as the bitmap, as vectors at the screen's 96 pixels per inch.
        width = Side(size.Width);
        pictureHeight = Side(size.Height);
        if (width < 1 || width > TBitmap::MaxSide || pictureHeight < 1 ||
            pictureHeight > TBitmap::MaxSide)
            throw Exception(Format("A picture of %d x %d pixels is out of range (1 to %d a side).",
                                   size.Width, size.Height, TBitmap::MaxSide));
        constexpr int ppi = TCanvas::ScreenPixelsPerInch;
        const TPageSetup page{width * 72.0 / ppi, pictureHeight * 72.0 / ppi, ppi, ppi};
        if (toStandardOutput) {
            TVectorPicture picture(*format.Vector, page);
            draw(picture.Canvas(), width, pictureHeight);
            WriteStandardOutput(picture.Finish());
        } else {
            TVectorFile file(out, *format.Vector, page);
            draw(file.Canvas(), width, pictureHeight);
            file.Commit();
        }
    } else {
        TBitmap bitmap(Side(size.Width), Side(size.Height));
        draw(bitmap.Canvas(), bitmap.Width(), bitmap.Height());
        if (toStandardOutput)
            WriteStandardOutput(bitmap.Encode(format.Image, jpeg));
        else
            bitmap.SaveToFile(out, jpeg);
        width = bitmap.Width();
        pictureHeight = bitmap.Height();
    }
    if (toStandardOutput) return 0;  // the picture is all that goes to standard output

    std::cout << "{\"out\": " << JsonString(out) << ", \"width\": " << width
              << ", \"height\": " << pictureHeight << ", \"left\": " << left << ", \"top\": " << top
              << "}\n";
    return 0;
}

}  // namespace ribbon::cli
