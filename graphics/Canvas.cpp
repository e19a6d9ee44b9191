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

// A rectangle clipped to a surface of Width x Height (inclusive; empty when Left > Right or
// Top > Bottom).
struct Clipper {
    int Width, Height;
    TRect operator()(const TRect& r) const {
        return TRect{std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, Width - 1),
                     std::min(r.Bottom, Height - 1)};
    }
    static bool Empty(const TRect& c) { return c.Left > c.Right || c.Top > c.Bottom; }
};

// The rows cut into bands at every top and every bottom (inside the surface), sorted, so that
// inside a band each rectangle covers all of the band's rows or none. False when there are
// more than MaxCuts.
bool CutIntoBands(std::span<const TColorRect> Rects, const Clipper& Clip, int (&Cuts)[MaxCuts],
                  std::size_t& CutCount) {
    CutCount = 0;
    int lastTop = -1, lastBottom = -1;  // the band edges of the rectangle before, noted
    for (const TColorRect& r : Rects) {
        const TRect c = Clip(r.Rect);
        // Bars upright share a few tops and bottoms; bars turned a quarter have many.
        if ((c.Top == lastTop && c.Bottom == lastBottom) || Clipper::Empty(c)) continue;
        lastTop = c.Top;
        lastBottom = c.Bottom;
        for (int cut : {c.Top, c.Bottom + 1})
            if (std::find(Cuts, Cuts + CutCount, cut) == Cuts + CutCount) {
                if (CutCount == MaxCuts) return false;
                Cuts[CutCount++] = cut;
            }
    }
    for (std::size_t i = 1; i < CutCount; ++i)  // a handful: sorted by insertion
        for (std::size_t j = i; j > 0 && Cuts[j - 1] > Cuts[j]; --j)
            std::swap(Cuts[j - 1], Cuts[j]);
    return true;
}

// Paints the band's first row (First, row Top) in order, and gives the columns it covers as
// runs, sorted and merged: bars side by side make one run. The run being extended is kept in
// locals rather than in the list, which would put a store and a load of it between one bar and
// the next.
void PaintBandRow(std::uint8_t* First, int Top, std::span<const TColorRect> Rects,
                  const Clipper& Clip, std::vector<std::pair<int, int>>& Runs) {
    Runs.clear();
    bool ordered = true;
    int runFirst = -2, runLast = -2;  // none yet: no clipped column touches these
    auto endRun = [&] {
        ordered = ordered && (Runs.empty() || runFirst > Runs.back().second + 1);
        Runs.emplace_back(runFirst, runLast);
    };
    for (const TColorRect& r : Rects) {
        const TRect c = Clip(r.Rect);
        if (c.Top > Top || c.Bottom < Top || c.Left > c.Right) continue;
        const std::uint8_t red = GetRValue(r.Color), green = GetGValue(r.Color),
                           blue = GetBValue(r.Color);
        std::uint8_t* p = First + static_cast<std::size_t>(c.Left) * 3;
        for (std::uint8_t* const end = First + (c.Right + 1) * 3; p != end; p += 3) {
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
    if (ordered) return;
    std::sort(Runs.begin(), Runs.end());
    std::size_t n = 0;
    for (const auto& run : Runs) {
        if (n > 0 && run.first <= Runs[n - 1].second + 1)
            Runs[n - 1].second = std::max(Runs[n - 1].second, run.second);
        else
            Runs[n++] = run;
    }
    Runs.resize(n);
}

// Every other row of the band Top..Bottom is a copy of the first, run by run.
void CopyBandRows(std::uint8_t* Pixels, std::size_t Stride, int Top, int Bottom,
                  const std::vector<std::pair<int, int>>& Runs) {
    std::uint8_t* const first = Pixels + Top * Stride;
    if (Runs.size() == 1) {  // a symbol upright: one run
        const std::size_t from = static_cast<std::size_t>(Runs[0].first) * 3;
        const std::size_t bytes = static_cast<std::size_t>(Runs[0].second + 1) * 3 - from;
        std::uint8_t* const source = first + from;
        std::uint8_t* row = source;
        for (int y = Top + 1; y <= Bottom; ++y) std::memcpy(row += Stride, source, bytes);
        return;
    }
    for (int y = Top + 1; y <= Bottom; ++y) {
        std::uint8_t* row = Pixels + y * Stride;
        for (const auto& [from, to] : Runs)
            std::memcpy(row + from * 3, first + from * 3,
                        static_cast<std::size_t>(to - from + 1) * 3);
    }
}
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
    const Clipper clip{width, height};
    int cuts[MaxCuts];
    std::size_t cutCount = 0;
    if (!CutIntoBands(Rects, clip, cuts, cutCount)) {
        // Many bands, one rectangle each: fill them one by one.
        for (const TColorRect& each : Rects)
            if (const TRect e = clip(each.Rect); !Clipper::Empty(e)) FillClipped(e, each.Color);
        return;
    }
    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    thread_local std::vector<std::pair<int, int>> bandRuns;
    std::vector<std::pair<int, int>>& runs = bandRuns;
    for (std::size_t b = 0; b + 1 < cutCount; ++b) {
        const int top = cuts[b], bottom = cuts[b + 1] - 1;
        PaintBandRow(target_->Rgb.data() + top * stride, top, Rects, clip, runs);
        if (runs.empty() || bottom == top) continue;
        CopyBandRows(target_->Rgb.data(), stride, top, bottom, runs);
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
