// The canvas's shapes: pixels, polygons, rectangles and lines. Text is in Text.cpp.

#include "graphics/Canvas.h"

#include <algorithm>
#include <cstring>

#include "graphics/QuadFill.h"
#include "graphics/Rasterizer.h"

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
    if (end - p >= 96) {
        // Long spans (backgrounds, text cells, bars turned a quarter) in blocks of 16 pixels.
        std::uint8_t block[48];
        for (int i = 0; i < 48; i += 3) {
            block[i] = r;
            block[i + 1] = g;
            block[i + 2] = b;
        }
        for (; end - p >= 48; p += 48) std::memcpy(p, block, 48);
    }
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

void TCanvas::FillClipped(const TRect& c, TColor Color) {
    FillSpan(c.Top, c.Left, c.Right, Color);
    // Every other row is a copy of the first.
    const std::size_t stride = static_cast<std::size_t>(Width()) * 3;
    const std::size_t bytes = static_cast<std::size_t>(c.Right - c.Left + 1) * 3;
    std::uint8_t* const first =
        target_->Rgb.data() + c.Top * stride + static_cast<std::size_t>(c.Left) * 3;
    std::uint8_t* row = first;
    if (bytes <= 12) {
        // Bars a few pixels wide: storing the pixels beats a library call per row.
        const std::uint8_t r = first[0], g = first[1], b = first[2];
        for (int y = c.Top + 1; y <= c.Bottom; ++y) {
            row += stride;
            for (std::uint8_t* p = row; p != row + bytes; p += 3) {
                p[0] = r;
                p[1] = g;
                p[2] = b;
            }
        }
        return;
    }
    for (int y = c.Top + 1; y <= c.Bottom; ++y) std::memcpy(row += stride, first, bytes);
}

void TCanvas::Polygon(std::span<const TPoint> Points) {
    if (Points.size() < 2) return;
    TRect r;
    if (detail::FastPaths && Pen.Style == psSolid && Pen.Width <= 1 && Brush.Style() == bsSolid &&
        Brush.Color() == Pen.Color && detail::UprightRectangle(Points, r)) {
        // Interior and outline in one colour: the rectangle with both corner columns and rows.
        const TRect c{std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, Width() - 1),
                      std::min(r.Bottom, Height() - 1)};
        if (c.Left <= c.Right && c.Top <= c.Bottom) FillClipped(c, Pen.Color);
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

namespace {
// Beyond this many distinct tops and bottoms the rectangles are filled one by one.
constexpr std::size_t MaxCuts = 8;  // even: tops and bottoms come in pairs
}  // namespace

void TCanvas::FillRects(std::span<const TColorRect> Rects) {
    if (!detail::FastPaths) return TCustomCanvas::FillRects(Rects);
    if (!Rects.empty()) {
        Pen.Width = 1;
        Pen.Style = psSolid;
        Pen.Color = Rects.back().Color;
        Brush.SetColor(Rects.back().Color);
    }
    const int width = Width(), height = Height();
    if (width <= 0 || height <= 0) return;
    auto clip = [width, height](const TRect& r) {
        return TRect{std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, width - 1),
                     std::min(r.Bottom, height - 1)};
    };
    auto empty = [](const TRect& c) { return c.Left > c.Right || c.Top > c.Bottom; };
    // Rows are cut into bands at every top and every bottom (inside the surface), so inside a
    // band each rectangle covers all of the band's rows or none.
    int cuts[MaxCuts];
    std::size_t cutCount = 0;
    int lastTop = -1, lastBottom = -1;  // the band edges of the rectangle before, noted
    for (const TColorRect& r : Rects) {
        const TRect c = clip(r.Rect);
        // Bars upright share a few tops and bottoms; bars turned a quarter have many.
        if ((c.Top == lastTop && c.Bottom == lastBottom) || empty(c)) continue;
        lastTop = c.Top;
        lastBottom = c.Bottom;
        for (int cut : {c.Top, c.Bottom + 1})
            if (std::find(cuts, cuts + cutCount, cut) == cuts + cutCount) {
                if (cutCount == MaxCuts) {
                    // Many bands, one rectangle each: fill them one by one.
                    for (const TColorRect& each : Rects)
                        if (const TRect e = clip(each.Rect); !empty(e)) FillClipped(e, each.Color);
                    return;
                }
                cuts[cutCount++] = cut;
            }
    }
    for (std::size_t i = 1; i < cutCount; ++i)  // a handful: sorted by insertion
        for (std::size_t j = i; j > 0 && cuts[j - 1] > cuts[j]; --j)
            std::swap(cuts[j - 1], cuts[j]);
    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    thread_local std::vector<std::pair<int, int>> bandRuns;
    std::vector<std::pair<int, int>>& runs = bandRuns;
    for (std::size_t b = 0; b + 1 < cutCount; ++b) {
        const int top = cuts[b], bottom = cuts[b + 1] - 1;
        std::uint8_t* const first = target_->Rgb.data() + top * stride;
        // The band's first row painted in order, and the columns it covers: bars side by side
        // make one run. The run being extended is kept in locals rather than in the list, which
        // would put a store and a load of it between one bar and the next.
        runs.clear();
        bool ordered = true;
        int runFirst = -2, runLast = -2;  // none yet: no clipped column touches these
        auto endRun = [&] {
            ordered = ordered && (runs.empty() || runFirst > runs.back().second + 1);
            runs.emplace_back(runFirst, runLast);
        };
        for (const TColorRect& r : Rects) {
            const TRect c = clip(r.Rect);
            if (c.Top > top || c.Bottom < top || c.Left > c.Right) continue;
            const std::uint8_t red = GetRValue(r.Color), green = GetGValue(r.Color),
                               blue = GetBValue(r.Color);
            std::uint8_t* p = first + static_cast<std::size_t>(c.Left) * 3;
            for (std::uint8_t* const end = first + (c.Right + 1) * 3; p != end; p += 3) {
                p[0] = red;
                p[1] = green;
                p[2] = blue;
            }
            if (c.Left == runLast + 1) {
                runLast = c.Right;
            } else if (c.Right + 1 == runFirst) {
                runFirst = c.Left;  // right to left (turned half a turn)
            } else {
                if (runLast != -2) endRun();
                runFirst = c.Left;
                runLast = c.Right;
            }
        }
        if (runLast != -2) endRun();
        if (runs.empty() || bottom == top) continue;
        if (!ordered) {
            std::sort(runs.begin(), runs.end());
            std::size_t n = 0;
            for (const auto& run : runs) {
                if (n > 0 && run.first <= runs[n - 1].second + 1)
                    runs[n - 1].second = std::max(runs[n - 1].second, run.second);
                else
                    runs[n++] = run;
            }
            runs.resize(n);
        }
        // Every other row of the band is a copy of the first, run by run.
        if (runs.size() == 1) {  // a symbol upright: one run
            const std::size_t from = static_cast<std::size_t>(runs[0].first) * 3;
            const std::size_t bytes = static_cast<std::size_t>(runs[0].second + 1) * 3 - from;
            std::uint8_t* const source = first + from;
            std::uint8_t* row = source;
            for (int y = top + 1; y <= bottom; ++y) std::memcpy(row += stride, source, bytes);
            continue;
        }
        for (int y = top + 1; y <= bottom; ++y) {
            std::uint8_t* row = target_->Rgb.data() + y * stride;
            for (const auto& [from, to] : runs)
                std::memcpy(row + from * 3, first + from * 3,
                            static_cast<std::size_t>(to - from + 1) * 3);
        }
    }
}

void TCanvas::FillQuads(std::span<const TColorQuad> Quads) {
    if (!detail::FastPaths) return TCustomCanvas::FillQuads(Quads);
    Pen.Width = 1;
    Pen.Style = psSolid;
    detail::TQuadPainter painter(target_->Rgb.data(), Width(), Height());
    for (const TColorQuad& q : Quads) {
        Pen.Color = q.Color;
        Brush.SetColor(q.Color);
        if (!painter.Paint(q.Corners, q.Color)) Polygon(q.Corners);
    }
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
