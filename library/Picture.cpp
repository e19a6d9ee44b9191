// Drawing for the C interface, on the caller's pixels or into a picture file.

#include "library/Picture.h"

#include <cmath>
#include <cstring>

#include "base/AtomicFile.h"
#include "base/Exceptions.h"
#include "graphics/Bitmap.h"
#include "vector/VectorFile.h"

namespace ribbon {
namespace {

// Without an explicit position the symbol sits behind a quiet zone of this many modules, so
// the picture scans as it is.
constexpr int QuietModules = 10;

[[noreturn]] void Invalid(const std::string& Message) {
    throw Exception(Message);
}

}  // namespace

TPicture PictureOf(const ribbonkit_drawing& d) {
    if (d.type < 0 || d.type >= BarTypeCount) Invalid("Unknown symbology: type must be 0..22.");
    if (!d.data) Invalid("data must not be NULL.");
    if (d.modul < 1) Invalid("modul must be at least 1 pixel.");
    if (d.height < 1) Invalid("height must be at least 1 pixel.");
    if (!std::isfinite(d.angle) || std::fabs(d.angle) > 1e9) Invalid("angle must be finite.");
    if (d.checksum != 0 && d.checksum != 1) Invalid("checksum must be 0 or 1.");
    if (d.text_show < tsNone || d.text_show > tsBoth) Invalid("text_show must be 0..3.");
    if (d.text_position < tpTopLeft || d.text_position > tpBottomCenter)
        Invalid("text_position must be 0..5.");
    if (d.font_size < 1 || d.font_size > 1000) Invalid("font_size must be 1..1000 points.");
    if (d.left < -1 || d.top < -1) Invalid("left and top must be -1 (quiet zone) or more.");

    TPicture p{};
    p.Type = static_cast<TBarType>(d.type);
    p.Data = d.data;
    p.Modul = d.modul;
    p.Ratio = d.ratio;
    p.CheckSum = d.checksum ? csModulo10 : csNone;
    p.Height = d.height;
    p.Angle = d.angle;
    p.TextShow = static_cast<TTextShow>(d.text_show);
    p.TextPosition = static_cast<TTextPosition>(d.text_position);
    if (d.font_face) p.Font.Name = d.font_face;
    p.Font.Size = d.font_size;
    p.Font.Color = d.font_color;
    p.ColorBar = d.color_bar;
    p.ColorSpc = d.color_space;
    p.TextColor = d.text_color;
    p.Background = d.background;

    // The upright box around the turned symbol: its width is what the engine calls the canvas
    // height, and the other way round. Measuring also validates the data.
    const long long boxWidth =
        Z_GetCanvasHeight(p.Type, p.Data, p.Modul, p.Ratio, p.CheckSum, p.Height, p.Angle);
    const long long boxHeight =
        Z_GetCanvasWidth(p.Type, p.Data, p.Modul, p.Ratio, p.CheckSum, p.Height, p.Angle);
    const long long quiet = static_cast<long long>(QuietModules) * p.Modul;
    const long long left = d.left < 0 ? quiet : d.left, top = d.top < 0 ? quiet : d.top;
    const long long width = left + boxWidth + quiet, height = top + boxHeight + quiet;
    if (width > TBitmap::MaxSide || height > TBitmap::MaxSide ||
        width * height > TBitmap::MaxPixels)
        Invalid("The picture would be larger than " + std::to_string(TBitmap::MaxSide) +
                " pixels a side or " + std::to_string(TBitmap::MaxPixels) + " pixels in all.");
    p.Left = static_cast<int>(left);
    p.Top = static_cast<int>(top);
    p.Width = static_cast<int>(width);
    p.PictureHeight = static_cast<int>(height);
    return p;
}

namespace {

void Draw(const TPicture& p, TCustomCanvas& Canvas) {
    Z_DrawBar(Canvas, p.Type, p.Data, p.Modul, p.Ratio, p.CheckSum, p.Left, p.Top, p.Height, p.Font,
              p.TextShow, p.TextPosition, p.ColorBar, p.ColorSpc, p.TextColor, p.Angle);
}

// The whole picture: background, then the symbol.
void Paint(const TPicture& p, TCustomCanvas& Canvas) {
    Canvas.Brush.SetColor(p.Background);
    Canvas.FillRect({0, 0, p.Width, p.PictureHeight});
    Draw(p, Canvas);
}

}  // namespace

void RenderRgb(const TPicture& Picture, std::uint8_t* Rgb, int Width, int Height, int Stride) {
    if (static_cast<long long>(Width) * Height > TBitmap::MaxPixels)
        Invalid("The picture is larger than " + std::to_string(TBitmap::MaxPixels) + " pixels.");
    TPixelBuffer pixels{Width, Height, {}};
    pixels.Rgb.resize(static_cast<std::size_t>(Width) * Height * 3);
    const std::size_t row = static_cast<std::size_t>(Width) * 3;
    for (int y = 0; y < Height; ++y)
        std::memcpy(&pixels.Rgb[y * row], Rgb + static_cast<std::size_t>(y) * Stride, row);
    {
        TCanvas canvas(pixels);
        Draw(Picture, canvas);
    }
    for (int y = 0; y < Height; ++y)
        std::memcpy(Rgb + static_cast<std::size_t>(y) * Stride, &pixels.Rgb[y * row], row);
}

void RenderFile(const TPicture& Picture, const std::string& Path) {
    // Vector files hold the same picture at the screen's 96 pixels per inch.
    if (const std::optional<TVectorFormat> vector = VectorFormatFromFileName(Path)) {
        constexpr int ppi = TCanvas::ScreenPixelsPerInch;
        TVectorFile file(
            Path, *vector,
            {Picture.Width * 72.0 / ppi, Picture.PictureHeight * 72.0 / ppi, ppi, ppi});
        Paint(Picture, file.Canvas());
        file.Commit();
        return;
    }
    const TImageFormat format = ImageFormatFromFileName(Path);  // refused before any drawing
    TBitmap bitmap(Picture.Width, Picture.PictureHeight);
    Paint(Picture, bitmap.Canvas());
    WriteFileAtomically(Path, bitmap.Encode(format));
}

}  // namespace ribbon
