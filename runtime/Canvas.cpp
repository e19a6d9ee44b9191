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

void TCanvas::SetPixel(int X, int Y, TColor Color) {
    FillSpan(Y, X, X, Color);
}

void TCanvas::FillSpan(int Y, int X0, int X1, TColor Color) {
    if (Y < 0 || Y >= target_->Height) return;
    X0 = std::max(X0, 0);
    X1 = std::min(X1, target_->Width - 1);
    if (X0 > X1) return;
    std::uint8_t* p = target_->Rgb.data() + (static_cast<std::size_t>(Y) * target_->Width + X0) * 3;
    std::uint8_t* const end = p + (static_cast<std::size_t>(X1 - X0) + 1) * 3;
    const std::uint8_t r = GetRValue(Color), g = GetGValue(Color), b = GetBValue(Color);
    for (; p != end; p += 3) {
        p[0] = r;
        p[1] = g;
        p[2] = b;
    }
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
    if (reach == 1) {
        const std::uint8_t rgb[3] = {GetRValue(Pen.Color), GetGValue(Pen.Color),
                                     GetBValue(Pen.Color)};
        detail::TraceLine(From, To, IncludeEnd, TRect{0, 0, Width(), Height()}, [&](int x, int y) {
            std::memcpy(&target_->Rgb[(static_cast<std::size_t>(y) * target_->Width + x) * 3], rgb,
                        3);
        });
        return;
    }
    const TRect clip{-reach, -reach, Width() + reach, Height() + reach};
    detail::TraceLine(From, To, IncludeEnd, clip, [&](int x, int y) { PlotPen(x, y); });
}

namespace {

// The corners of an upright rectangle, in either winding: what every bar at a right angle is.
bool UprightRectangle(std::span<const TPoint> p, TRect& r) {
    if (p.size() != 4) return false;
    const bool verticalFirst =
        p[0].X == p[1].X && p[1].Y == p[2].Y && p[2].X == p[3].X && p[3].Y == p[0].Y;
    const bool horizontalFirst =
        p[0].Y == p[1].Y && p[1].X == p[2].X && p[2].Y == p[3].Y && p[3].X == p[0].X;
    if (!verticalFirst && !horizontalFirst) return false;
    r = {std::min(p[0].X, p[2].X), std::min(p[0].Y, p[2].Y), std::max(p[0].X, p[2].X),
         std::max(p[0].Y, p[2].Y)};
    return true;
}

}  // namespace

void TCanvas::Polygon(std::span<const TPoint> Points) {
    if (Points.size() < 2) return;
    TRect r;
    if (Pen.Style == psSolid && Pen.Width <= 1 && Brush.Style() == bsSolid &&
        Brush.Color() == Pen.Color && UprightRectangle(Points, r)) {
        // Interior and outline in one colour: the rectangle with both corner columns and rows.
        const int top = std::max(r.Top, 0), bottom = std::min(r.Bottom, Height() - 1);
        const int left = std::max(r.Left, 0), right = std::min(r.Right, Width() - 1);
        if (top > bottom || left > right) return;
        FillSpan(top, left, right, Pen.Color);
        // Every other row is a copy of the first.
        const std::size_t stride = static_cast<std::size_t>(Width()) * 3;
        const std::size_t bytes = static_cast<std::size_t>(right - left + 1) * 3;
        std::uint8_t* const first =
            target_->Rgb.data() + top * stride + static_cast<std::size_t>(left) * 3;
        std::uint8_t* row = first;
        if (bytes <= 12) {
            // Bars a few pixels wide: storing the pixels beats a library call per row.
            const std::uint8_t r = first[0], g = first[1], b = first[2];
            for (int y = top + 1; y <= bottom; ++y) {
                row += stride;
                for (std::uint8_t* p = row; p != row + bytes; p += 3) {
                    p[0] = r;
                    p[1] = g;
                    p[2] = b;
                }
            }
            return;
        }
        for (int y = top + 1; y <= bottom; ++y) std::memcpy(row += stride, first, bytes);
        return;
    }
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
    const int left = std::max(Rect.Left, 0), right = std::min(Rect.Right, Width());
    if (top >= bottom || left >= right) return;
    // The first row pixel by pixel, every other row a copy of it.
    FillSpan(top, left, right - 1, Brush.Color());
    const std::size_t stride = static_cast<std::size_t>(Width()) * 3;
    const std::size_t bytes = static_cast<std::size_t>(right - left) * 3;
    const std::uint8_t* const first =
        target_->Rgb.data() + top * stride + static_cast<std::size_t>(left) * 3;
    for (int y = top + 1; y < bottom; ++y)
        std::memcpy(target_->Rgb.data() + y * stride + static_cast<std::size_t>(left) * 3, first,
                    bytes);
}

void TCanvas::MoveTo(int X, int Y) {
    penPos_ = {X, Y};
}

void TCanvas::LineTo(int X, int Y) {
    DrawLine(penPos_, {X, Y}, false);
    penPos_ = {X, Y};
}

}  // namespace ribbon
