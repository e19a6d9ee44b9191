#pragma once
// A raster canvas with the behaviour of a classic GDI device context, drawing on 24-bit RGB
// pixels. Coordinates are integer pixels, x to the right and y downwards from the top-left
// corner; everything outside the surface is clipped away, so any coordinates are safe.
//
// Bars are never anti-aliased: a filled polygon is its interior plus a one-pixel outline in the
// pen colour, so the polygon (x0,y0) (x0,y1) (x1,y1) (x1,y0) covers x0..x1 and y0..y1 inclusive.
// Text goes through FreeType: glyphs may be smoothed, the opaque cell behind them is not.
//
// A canvas is used by one thread at a time; different canvases may draw concurrently (the font
// faces they share are guarded inside the text layer).

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "../base/Export.h"
#include "../graphics/CustomCanvas.h"
#include "../graphics/Graphics.h"

namespace ribbon {

/// Pixel storage of a bitmap: rows top to bottom, three bytes a pixel in the order red, green,
/// blue, no row padding.
struct TPixelBuffer {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Rgb;
};

namespace detail {
struct TFontFace;    // a cached FreeType face (FontCache.h)
struct TTextLayout;  // where a text's cell, glyphs and lines went (TextRuns.h)
struct TGlyphSlots;  // a font's upright glyphs by byte (TextRuns.h)
}  // namespace detail

/// A font object created from a logical description (the counterpart of an HFONT). It can be
/// selected into any canvas in place of the canvas's own Font; the caller owns it and must
/// select the previous font back before destroying it.
class RIBBON_API TFontHandle {
  public:
    explicit TFontHandle(const TLogFont& LogFont);
    ~TFontHandle();
    TFontHandle(const TFontHandle&) = delete;
    TFontHandle& operator=(const TFontHandle&) = delete;

    const TLogFont& LogFont() const { return log_; }
    /// The installed face this font was matched to ("DejaVu Sans", "Liberation Mono", ...).
    std::string FamilyName() const;
    std::string StyleName() const;

    /// Cell metrics in pixels, rounded as a device reports them; Height = Ascent + Descent and
    /// includes the internal leading.
    int Ascent() const { return ascent_; }
    int Descent() const { return descent_; }
    int Height() const { return ascent_ + descent_; }
    int InternalLeading() const { return ascent_ + descent_ - emPixels_; }

    /// Width of the text in pixels (the sum of the glyph advances) and the cell height.
    TSize TextExtent(const std::string& Text) const;

  private:
    friend class TCanvas;
    friend class TVectorCanvas;
    TLogFont log_;
    /// Glyph advances of the bytes of Text, in pixels.
    void Advances(const std::string& Text, std::vector<int>& Out) const;

    std::shared_ptr<detail::TFontFace> face_;
    /// The advances of the bytes looked up so far (-1 until then), so that measuring again
    /// needs no lock on the face.
    mutable std::array<std::atomic<int>, 256> advances_;
    /// The glyphs of upright text, found once (guarded by the face's lock).
    mutable std::unique_ptr<detail::TGlyphSlots> upright_;
    int emPixels_ = 0;
    int widthPixels_ = 0;  // horizontal pixel size of the em
    int ascent_ = 0;
    int descent_ = 0;
    bool syntheticBold_ = false;
    bool syntheticItalic_ = false;
};

/// Creates a font from its logical description; free it by destroying the returned object.
RIBBON_API std::unique_ptr<TFontHandle> CreateFontIndirect(const TLogFont& LogFont);

/// The average character width (TLogFont::Width) that gives the face of LogFont an em
/// EmWidthPixels wide; 0 (the face's own proportions) when the face does not tell its average.
int AverageCharWidth(const TLogFont& LogFont, int EmWidthPixels);

/// The raster surface. The right-angle fast paths of the drawing live here, behind Polygon and
/// FillRects.
class RIBBON_API TCanvas final : public TCustomCanvas {
  public:
    static constexpr int ScreenPixelsPerInch = 96;

    explicit TCanvas(TPixelBuffer& Target, int PixelsPerInch = ScreenPixelsPerInch);
    ~TCanvas() override;

    int PixelsPerInch() const override { return ppi_; }
    int Width() const { return target_->Width; }
    int Height() const { return target_->Height; }

    /// The colour of one pixel, or 0xFFFFFFFF (an invalid colour) outside the surface.
    TColor Pixel(int X, int Y) const;
    void SetPixel(int X, int Y, TColor Color);

    void Polygon(std::span<const TPoint> Points) override;

    /// A symbol's rows repeat: its rectangles are filled band by band, each band's first row
    /// painted and the others copied from it.
    void FillRects(std::span<const TColorRect> Rects) override;

    /// Bars at other angles: each one's interior and outline found row by row as runs.
    void FillQuads(std::span<const TColorQuad> Quads) override;

    /// Outline with the pen, interior with the brush; covers X1..X2-1 and Y1..Y2-1.
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect& Rect) { Rectangle(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }

    void FillRect(const TRect& Rect) override;

    /// Lines with the pen from the current position; LineTo leaves out its end point.
    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);

    void TextOut(int X, int Y, const std::string& Text) override;

  private:
    void FillSpan(int Y, int X0, int X1, TColor Color);
    // Fills the rectangle (inclusive, inside the surface) in Color, row by row.
    void FillClipped(const TRect& Clipped, TColor Color);
    void PlotPen(int X, int Y);
    void DrawLine(TPoint From, TPoint To, bool IncludeEnd);
    /// Fills the rectangle U0..U1 x V0..V1 of the text frame whose origin is (X, Y) and whose
    /// u axis runs at the escapement angle (cosine C, sine S); its corners go to Corners.
    void FillTextRect(long double X, long double Y, long double C, long double S, long double U0,
                      long double V0, long double U1, long double V1, TColor Color,
                      TPoint (&Corners)[4]);
    /// TextOut in the given colours (no cell when !Opaque); Layout, when given, is told where
    /// the cell, the glyphs and the lines went.
    void DrawText(const TFontHandle& Font, int X, int Y, const std::string& Text, TColor Ink,
                  bool Opaque, TColor Back, detail::TTextLayout* Layout);
    /// Opaque text copied from the thread's composed runs (composed first if new); false when
    /// the run cannot be kept, and nothing was drawn.
    bool DrawTextRun(const TFontHandle& Font, int X, int Y, const std::string& Text);

    TPixelBuffer* target_;
    int ppi_;
    TPoint penPos_;
};

}  // namespace ribbon
