#pragma once
// Scan conversion for the canvas: polygons and lines on the integer pixel grid, never
// anti-aliased. Internal to the runtime.
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

#include "runtime/Graphics.h"

namespace ribbon::detail {

using Wide = __int128;

// floor(n / d) for d > 0.
inline long long FloorDiv(Wide n, Wide d) {
    Wide q = n / d;
    if (n % d != 0 && n < 0) --q;
    return static_cast<long long>(q);
}

// ceil(n / d) for d > 0.
inline long long CeilDiv(Wide n, Wide d) {
    Wide q = n / d;
    if (n % d != 0 && n > 0) ++q;
    return static_cast<long long>(q);
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
    std::vector<long long> xs;
    xs.reserve(n);
    for (long long y = first; y <= last; ++y) {
        xs.clear();
        for (std::size_t i = 0; i < n; ++i) {
            TPoint a = Points[i], b = Points[(i + 1) % n];
            if (a.Y == b.Y) continue;
            if (a.Y > b.Y) std::swap(a, b);
            if (y < a.Y || y >= b.Y) continue;
            // The first pixel at or right of the crossing.
            xs.push_back(a.X + CeilDiv(Wide(y - a.Y) * (Wide(b.X) - a.X), Wide(b.Y) - a.Y));
        }
        std::sort(xs.begin(), xs.end());
        for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
            const long long x0 = std::max<long long>(xs[i], Clip.Left);
            const long long x1 = std::min<long long>(xs[i + 1] - 1, Clip.Right - 1);
            if (x0 <= x1) Span(static_cast<int>(y), static_cast<int>(x0), static_cast<int>(x1));
        }
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
        if (major(To) == lo) ++lo;
        else --hi;
    }
    const long long clipLo = xMajor ? Clip.Left : Clip.Top;
    const long long clipHi = (xMajor ? Clip.Right : Clip.Bottom) - 1;
    const long long minorLo = xMajor ? Clip.Top : Clip.Left;
    const long long minorHi = (xMajor ? Clip.Bottom : Clip.Right) - 1;
    lo = std::max(lo, clipLo);
    hi = std::min(hi, clipHi);
    for (long long m = lo; m <= hi; ++m) {
        // Nearest pixel, halves rounded up: floor((2 t dMinor + dMajor) / (2 dMajor)).
        const long long o = minor(p) + FloorDiv(Wide(2) * (m - major(p)) * dMinor + dMajor,
                                                Wide(2) * dMajor);
        if (o < minorLo || o > minorHi) continue;
        if (xMajor) Plot(static_cast<int>(m), static_cast<int>(o));
        else Plot(static_cast<int>(o), static_cast<int>(m));
    }
}

}  // namespace ribbon::detail
