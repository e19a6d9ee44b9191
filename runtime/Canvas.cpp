// The canvas's shapes: pixels, polygons, rectangles and lines. Text is in Text.cpp.

#include "runtime/Canvas.h"

#include <algorithm>
#include <cstring>

#include "runtime/Rasterizer.h"

namespace ribbon {

TCanvas::TCanvas(TPixelBuffer& Target, int PixelsPerInch)
    : target_(&Target), ppi_(PixelsPerInch > 0 ? PixelsPerInch : ScreenPixelsPerInch) {}

TCanvas::~TCanvas() = default;

TColor TCanvas::Pixel(int X, int Y) const {
    if (X < 0 || Y < 0 || X >= target_->Width || Y >= target_->Height) return 0xFFFFFFFF;
    const std::uint8_t* p = &target_->Rgb[(static_cast<std::size_t>(Y) * target_->Width + X) * 3];
    return RGB(p[0], p[1], p[2]);
}

void TCanvas::SetPixel(int X, int Y, TColor Color) { FillSpan(Y, X, X, Color); }

void TCanvas::FillSpan(int Y, int X0, int X1, TColor Color) {
    if (Y < 0 || Y >= target_->Height) return;
    X0 = std::max(X0, 0);
    X1 = std::min(X1, target_->Width - 1);
    if (X0 > X1) return;
    std::uint8_t* p = &target_->Rgb[(static_cast<std::size_t>(Y) * target_->Width + X0) * 3];
    const std::uint8_t rgb[3] = {GetRValue(Color), GetGValue(Color), GetBValue(Color)};
    for (int x = X0; x <= X1; ++x, p += 3) std::memcpy(p, rgb, 3);
}

void TCanvas::PlotPen(int X, int Y) {
    const int w = std::max(Pen.Width, 1);
    if (w == 1) {
        FillSpan(Y, X, X, Pen.Color);
        return;
    }
    // A wide pen is a square centred on the line.
    const int lo = -(w - 1) / 2;
    for (int dy = lo; dy < lo + w; ++dy) FillSpan(Y + dy, X + lo, X + lo + w - 1, Pen.Color);
}

void TCanvas::DrawLine(TPoint From, TPoint To, bool IncludeEnd) {
    if (Pen.Style == psClear) return;
    // A wide pen reaches into the surface from lines just outside it.
    const int reach = std::max(Pen.Width, 1);
    const TRect clip{-reach, -reach, Width() + reach, Height() + reach};
    detail::TraceLine(From, To, IncludeEnd, clip, [&](int x, int y) { PlotPen(x, y); });
}

void TCanvas::Polygon(std::span<const TPoint> Points) {
    if (Points.size() < 2) return;
    if (Brush.Style() == bsSolid) {
        const TColor color = Brush.Color();
        detail::ScanPolygon(Points, TRect{0, 0, Width(), Height()},
                            [&](int y, int x0, int x1) { FillSpan(y, x0, x1, color); });
    }
    for (std::size_t i = 0; i < Points.size(); ++i)
        DrawLine(Points[i], Points[(i + 1) % Points.size()], true);
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
    if (X1 > X2) std::swap(X1, X2);
    if (Y1 > Y2) std::swap(Y1, Y2);
    if (X1 == X2 || Y1 == Y2) return;
    if (Brush.Style() == bsSolid) FillRect(TRect{X1, Y1, X2, Y2});
    const TPoint corners[4] = {{X1, Y1}, {X2 - 1, Y1}, {X2 - 1, Y2 - 1}, {X1, Y2 - 1}};
    for (int i = 0; i < 4; ++i) DrawLine(corners[i], corners[(i + 1) % 4], true);
}

void TCanvas::FillRect(const TRect& Rect) {
    if (Rect.Left >= Rect.Right) return;
    const int top = std::max(Rect.Top, 0), bottom = std::min(Rect.Bottom, Height());
    for (int y = top; y < bottom; ++y) FillSpan(y, Rect.Left, Rect.Right - 1, Brush.Color());
}

void TCanvas::MoveTo(int X, int Y) { penPos_ = {X, Y}; }

void TCanvas::LineTo(int X, int Y) {
    DrawLine(penPos_, {X, Y}, false);
    penPos_ = {X, Y};
}

}  // namespace ribbon
