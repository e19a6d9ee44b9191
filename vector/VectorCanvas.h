#pragma once
// The vector surface: records the canvas operations as cairo paths and glyph outlines, in
// device pixels, for PDF and SVG pages (VectorFile.h). It keeps the raster canvas's covering
// rule, so the bar (x0,y0) (x0,y1) (x1,y1) (x1,y0) becomes the rectangle from x0 to x1 + 1 and
// from y0 to y1 + 1, and it lays text out with the raster canvas's fonts and advances, so a
// layout measured on one surface holds on the other. Only the glyph shapes differ: outlines
// here, hinted pixels there.

#include <cairo.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "graphics/Canvas.h"
#include "graphics/CustomCanvas.h"

namespace ribbon {

namespace detail {
struct VectorPoint {
    double x, y;
};
}  // namespace detail

class TVectorCanvas final : public TCustomCanvas {
  public:
    // Draws through Context, whose user space is the device's pixels; the resolutions turn
    // font sizes in points into those pixels. The context stays the caller's.
    TVectorCanvas(cairo_t* Context, int PixelsPerInchX, int PixelsPerInchY);
    ~TVectorCanvas() override;

    int PixelsPerInch() const override { return ppi_; }
    int HorizontalPixelsPerInch() const override { return ppiX_; }
    void Polygon(std::span<const TPoint> Points) override;
    void FillRect(const TRect& Rect) override;
    void TextOut(int X, int Y, const std::string& Text) override;

  private:
    void Source(TColor Color);
    // Fills the rectangle U0..U1 x V0..V1 of the text frame at (X, Y) turned by (C, S).
    void FillTextRect(long double X, long double Y, long double C, long double S, long double U0,
                      long double V0, long double U1, long double V1, TColor Color);
    cairo_font_face_t* FaceFor(const TFontHandle& Font);
    // Fills the polygon, even-odd, in Color.
    void FillPath(const std::vector<detail::VectorPoint>& Polygon, TColor Color);

    cairo_t* cr_;
    int ppiX_, ppi_;
    // cairo's faces for the font files in use (file, index, synthetic bold).
    std::map<std::tuple<std::string, int, bool>, cairo_font_face_t*> faces_;
};

}  // namespace ribbon
