#pragma once
// What every drawing surface offers the engine: the current font, pen and brush, filled
// polygons and rectangles, and opaque rotated text. Two surfaces implement it: the raster
// canvas over a bitmap (Canvas.h) and the vector canvas over a PDF or SVG page
// (VectorCanvas.h). Both use integer device pixels with the origin at the top-left corner and
// the same covering rule, and both measure text with the same fonts, so a layout made on one
// holds on the other.

#include <memory>
#include <span>
#include <string>

#include "../base/Export.h"
#include "../graphics/Graphics.h"

namespace ribbon {

class TFontHandle;

namespace detail {
// Off, drawing takes the general paths only (every polygon scan-converted, every glyph pixel
// blended alone), which the fast paths must match pixel for pixel; the tests compare them.
inline thread_local bool FastPaths = true;
}  // namespace detail

/// An upright rectangle covering Left..Right by Top..Bottom inclusive, in one colour.
struct TColorRect {
    TRect Rect;
    TColor Color;
};

/// A four-corner polygon in one colour: a bar turned by any angle.
struct TColorQuad {
    TPoint Corners[4];
    TColor Color;
};

/// The canvas's Font. Assigning a font to it counts as choosing it, even when the value is the
/// same, because that is what makes a canvas drop a font object selected into it.
class RIBBON_API TCanvasFont : public TFont {
  public:
    TCanvasFont() = default;
    TCanvasFont(const TCanvasFont&) = default;
    TCanvasFont& operator=(const TFont& Font) {
        TFont::operator=(Font);
        ++assignments_;
        return *this;
    }
    TCanvasFont& operator=(const TCanvasFont& Font) {
        return *this = static_cast<const TFont&>(Font);
    }
    unsigned Assignments() const { return assignments_; }

  private:
    unsigned assignments_ = 0;
};

class RIBBON_API TCustomCanvas {
  public:
    TCustomCanvas();
    virtual ~TCustomCanvas();
    TCustomCanvas(const TCustomCanvas&) = delete;
    TCustomCanvas& operator=(const TCustomCanvas&) = delete;

    /// The current drawing tools. Assigning to them changes what the next operation uses.
    TCanvasFont Font;
    TPen Pen;
    TBrush Brush;

    /// The resolution a font's point size is turned into pixels with (vertically).
    virtual int PixelsPerInch() const = 0;
    /// The horizontal resolution, where a device's pixels are not square (a 600 x 1200 dpi
    /// printer): text keeps its shape on paper by being narrower in pixels.
    virtual int HorizontalPixelsPerInch() const { return PixelsPerInch(); }

    /// Interior filled with the brush (unless it is clear) by the even-odd rule, then the closed
    /// outline drawn with the pen (unless it is clear): the polygon (x0,y0) (x0,y1) (x1,y1)
    /// (x1,y0) covers x0..x1 and y0..y1 inclusive. Fewer than two points draw nothing.
    virtual void Polygon(std::span<const TPoint> Points) = 0;

    /// Fills Left..Right-1 by Top..Bottom-1 with the brush colour; no outline.
    virtual void FillRect(const TRect& Rect) = 0;

    /// Paints the rectangles in order, later ones over earlier ones, exactly as a Polygon of each
    /// one's corners with a one-pixel solid pen and a solid brush in its colour would (which is
    /// what this does unless a surface has a faster way). Bars at right angles are such
    /// rectangles. The pen and brush are left in the last rectangle's colour.
    virtual void FillRects(std::span<const TColorRect> Rects);

    /// Paints the quadrilaterals in order, later ones over earlier ones, exactly as a Polygon of
    /// each one's corners with a one-pixel solid pen and a solid brush in its colour would (which
    /// is what this does unless a surface has a faster way). Bars at other angles are such
    /// quadrilaterals. The pen and brush are left in the last one's colour.
    virtual void FillQuads(std::span<const TColorQuad> Quads);

    /// Extent of the text in the current font, unrotated: the sum of the glyph advances and the
    /// cell height (internal leading included).
    TSize TextExtent(const std::string& Text);
    int TextWidth(const std::string& Text) { return TextExtent(Text).cx; }
    int TextHeight(const std::string& Text) { return TextExtent(Text).cy; }

    /// Writes the text with the current font, opaque: the character cells (advance width by
    /// cell height, turned with the font's escapement) are filled with the brush colour unless
    /// the brush is clear, then the glyphs are drawn in Font.Color. (X, Y) is the top-left corner
    /// of the first character cell. Bytes are read as Windows-1252 characters.
    virtual void TextOut(int X, int Y, const std::string& Text) = 0;

    /// Makes Font the canvas's current font in place of its own Font (nullptr selects the own
    /// Font again) and returns the previously selected font object (nullptr for the own Font).
    /// Assigning to the canvas's Font afterwards drops the selected object again.
    const TFontHandle* SelectFont(const TFontHandle* Font);
    /// The selected font object, or nullptr while the canvas's own Font is current.
    const TFontHandle* SelectedFont() const;

    /// The logical description of the current font: the selected font object's, or that of
    /// Font at this canvas's resolution.
    TLogFont CurrentLogFont() const;

    // A font object for LogFont, made once and kept by the canvas for as long as the same font
    // is asked for (the drawing asks for its turned font on every call), so the face is not
    // looked up again. The one made before is freed: select the previous font back before
    // asking for another.
    const TFontHandle& FontFor(const TLogFont& LogFont);

  protected:
    /// The font object that measures and draws.
    const TFontHandle& CurrentFont();

  private:
    /// A selected font object stays current only while Font is left as it was at selection.
    bool SelectionHolds() const;
    /// Font's logical description at this canvas's resolutions.
    TLogFont OwnLogFont() const;

    const TFontHandle* selected_ = nullptr;
    unsigned selectedAt_ = 0;  // Font.Assignments() when the object was selected
    TFont selectedWith_;       // and Font's value then
    /// The font object made for Font, rebuilt when Font changes.
    std::unique_ptr<TFontHandle> ownFont_;
    TLogFont ownFontLog_;
    std::unique_ptr<TFontHandle> madeFont_;  // FontFor's
    TLogFont madeFontLog_;
};

}  // namespace ribbon
