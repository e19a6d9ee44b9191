#pragma once
// Scan conversion for the canvas: polygons and lines on the integer pixel grid, never
// anti-aliased. Internal to the graphics library.
//
// A pixel (x, y) is the integer point (x, y). A polygon's interior holds the pixels that lie
// inside it by the even-odd rule, with points on a left or top edge inside and points on a right
// or bottom edge outside, so adjacent polygons never share a pixel of their interiors. Lines
// light the pixel nearest to the exact line in every column (or row, for steep lines).
// All arithmetic is exact integer arithmetic, so the results do not depend on the platform.

#include <algorithm>
#include <span>
#include <utility>
#include <vector>

#include "graphics/Graphics.h"

namespace ribbon::detail {

using Wide = __int128;

// floor(n / d) for d > 0. Operands that fit 64 bits (those of every coordinate on a real
// surface) divide in 64 bits, many times faster than in 128.
inline long long FloorDiv(Wide n, Wide d) {
    constexpr Wide Lo = -(Wide(1) << 62), Hi = Wide(1) << 62;
    if (n > Lo && n < Hi && d < Hi) {
        const long long n64 = static_cast<long long>(n), d64 = static_cast<long long>(d);
        long long q = n64 / d64;
        if (n64 % d64 != 0 && n64 < 0) --q;
        return q;
    }
    Wide q = n / d;
    if (n % d != 0 && n < 0) --q;
    return static_cast<long long>(q);
}

// floor(N / D) for D > 0, stepped along a line: N grows by a fixed amount per step.
class FloorStepper {
  public:
    FloorStepper() = default;
    FloorStepper(Wide n, long long d, Wide step) : d_(d) {
        q_ = FloorDiv(n, d);
        r_ = static_cast<long long>(n - Wide(q_) * d);
        stepQ_ = FloorDiv(step, d);
        stepR_ = static_cast<long long>(step - Wide(stepQ_) * d);
    }
    long long Floor() const { return q_; }
    long long Ceil() const { return q_ + (r_ != 0); }
    void Next() {
        q_ += stepQ_;
        r_ += stepR_;
        if (r_ >= d_) {
            r_ -= d_;
            ++q_;
        }
    }

  private:
    long long d_ = 1, q_ = 0, r_ = 0, stepQ_ = 0, stepR_ = 0;
};

// A vector that keeps up to N elements inline; Capacity is fixed at construction.
template <typename T, std::size_t N>
class SmallVector {
  public:
    explicit SmallVector(std::size_t Capacity) {
        if (Capacity > N) heap_.resize(Capacity);
        data_ = Capacity > N ? heap_.data() : inline_;
    }
    void push_back(const T& v) { data_[size_++] = v; }
    void clear() { size_ = 0; }
    std::size_t size() const { return size_; }
    T& operator[](std::size_t i) { return data_[i]; }
    T* begin() { return data_; }
    T* end() { return data_ + size_; }

  private:
    T inline_[N];
    std::vector<T> heap_;
    T* data_;
    std::size_t size_ = 0;
};

// The corners of an upright rectangle, in either winding (what every bar at a right angle is):
// true, with the rectangle's corner pixels in r.
inline bool UprightRectangle(std::span<const TPoint> p, TRect& r) {
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

// Calls Span(y, x0, x1) for every run x0..x1 (inclusive) of interior pixels inside Clip.
template <typename SpanFn>
void ScanPolygon(std::span<const TPoint> Points, const TRect& Clip, SpanFn&& Span) {
    const std::size_t n = Points.size();
    if (n < 3 || Clip.Left >= Clip.Right || Clip.Top >= Clip.Bottom) return;
    long long yMin = Points[0].Y, yMax = Points[0].Y;
    for (const TPoint& p : Points) {
        yMin = std::min<long long>(yMin, p.Y);
        yMax = std::max<long long>(yMax, p.Y);
    }
    // Rows yMin .. yMax-1 can hold interior pixels.
    const long long first = std::max<long long>(yMin, Clip.Top);
    const long long last = std::min<long long>(yMax - 1, Clip.Bottom - 1);
    if (first > last) return;

    struct Edge {
        long long start = 0, x0 = 0, yEnd = 0;
        FloorStepper dx;  // (y - top) * (x1 - x0) / (y1 - y0), stepped row by row
    };
    // Bars have four corners: keep small polygons off the heap.
    SmallVector<Edge, 8> edges(n);
    SmallVector<long long, 8> xs(n);
    for (std::size_t i = 0; i < n; ++i) {
        TPoint a = Points[i], b = Points[(i + 1) % n];
        if (a.Y == b.Y) continue;
        if (a.Y > b.Y) std::swap(a, b);
        const long long start = std::max<long long>(a.Y, first);
        if (start >= b.Y || start > last) continue;
        const long long dy = static_cast<long long>(b.Y) - a.Y;
        const Wide dx = Wide(b.X) - a.X;
        edges.push_back(Edge{start, a.X, b.Y, FloorStepper(Wide(start - a.Y) * dx, dy, dx)});
    }
    auto emit = [&](long long y, long long from, long long to) {
        const long long x0 = std::max<long long>(from, Clip.Left);
        const long long x1 = std::min<long long>(to - 1, Clip.Right - 1);
        if (x0 <= x1) Span(static_cast<int>(y), static_cast<int>(x0), static_cast<int>(x1));
    };

    // A convex polygon crosses every row twice: walk each edge down its rows once, noting the
    // crossings per row, then fill. Anything else takes the general path below.
    const std::size_t rows = static_cast<std::size_t>(last - first + 1);
    // Kept from polygon to polygon: a symbol's bars are one polygon each.
    thread_local std::vector<long long> crossing;
    thread_local std::vector<unsigned char> count;
    crossing.resize(2 * rows);
    count.assign(rows, 0);
    bool twoPerRow = true;
    for (Edge& e : edges) {
        FloorStepper dx = e.dx;
        const long long end = std::min(e.yEnd - 1, last);
        for (long long y = e.start; y <= end && twoPerRow; ++y, dx.Next()) {
            const std::size_t r = static_cast<std::size_t>(y - first);
            if (count[r] == 2)
                twoPerRow = false;
            else
                crossing[2 * r + count[r]++] = e.x0 + dx.Ceil();
        }
    }
    if (twoPerRow) {
        for (std::size_t r = 0; r < rows; ++r) {
            if (count[r] != 2) continue;
            const long long a = crossing[2 * r], b = crossing[2 * r + 1];
            emit(first + static_cast<long long>(r), a < b ? a : b, a < b ? b : a);
        }
        return;
    }

    for (long long y = first; y <= last; ++y) {
        xs.clear();
        for (Edge& e : edges) {
            if (y < e.start || y >= e.yEnd) continue;
            // The first pixel at or right of the crossing.
            xs.push_back(e.x0 + e.dx.Ceil());
            e.dx.Next();
        }
        std::sort(xs.begin(), xs.end());
        for (std::size_t i = 0; i + 1 < xs.size(); i += 2) emit(y, xs[i], xs[i + 1]);
    }
}

// Calls Plot(x, y) for the pixels of the line From..To that fall inside Clip; the end point only
// when IncludeEnd. The pixels do not depend on the direction the line is drawn in.
template <typename PlotFn>
void TraceLine(TPoint From, TPoint To, bool IncludeEnd, const TRect& Clip, PlotFn&& Plot) {
    const long long dx = static_cast<long long>(To.X) - From.X;
    const long long dy = static_cast<long long>(To.Y) - From.Y;
    if (dx == 0 && dy == 0) {
        if (IncludeEnd && From.X >= Clip.Left && From.X < Clip.Right && From.Y >= Clip.Top &&
            From.Y < Clip.Bottom)
            Plot(From.X, From.Y);
        return;
    }
    const bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
    auto major = [&](TPoint p) -> long long { return xMajor ? p.X : p.Y; };
    auto minor = [&](TPoint p) -> long long { return xMajor ? p.Y : p.X; };
    TPoint p = From, q = To;
    if (major(p) > major(q)) std::swap(p, q);
    const long long dMajor = major(q) - major(p);  // > 0
    const long long dMinor = minor(q) - minor(p);
    long long lo = major(p), hi = major(q);
    if (!IncludeEnd) {
        if (major(To) == lo)
            ++lo;
        else
            --hi;
    }
    const long long clipLo = xMajor ? Clip.Left : Clip.Top;
    const long long clipHi = (xMajor ? Clip.Right : Clip.Bottom) - 1;
    const long long minorLo = xMajor ? Clip.Top : Clip.Left;
    const long long minorHi = (xMajor ? Clip.Bottom : Clip.Right) - 1;
    lo = std::max(lo, clipLo);
    hi = std::min(hi, clipHi);
    if (lo > hi) return;
    // The nearest pixel, halves rounded up: minor(p) + floor((2 t dMinor + dMajor) / (2 dMajor)).
    FloorStepper step(Wide(2) * (lo - major(p)) * dMinor + dMajor, 2 * dMajor, Wide(2) * dMinor);
    for (long long m = lo; m <= hi; ++m, step.Next()) {
        const long long o = minor(p) + step.Floor();
        if (o < minorLo || o > minorHi) continue;
        if (xMajor)
            Plot(static_cast<int>(m), static_cast<int>(o));
        else
            Plot(static_cast<int>(o), static_cast<int>(m));
    }
}

}  // namespace ribbon::detail
