// Z_DrawBar: bars as filled polygons, then the human-readable text, at any angle.

#include "engine/Draw.h"

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <vector>

#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/Numeric.h"
#include "engine/Elements.h"
#include "engine/Encoders.h"

namespace ribbon {
namespace {

// Pixel coordinates are 32-bit; far outside the canvas they wrap rather than overflow.
int ToPixel(long long v) {
    return static_cast<int>(static_cast<std::uint32_t>(v));
}

TPoint Offset(TPoint p, TPoint by) {
    return {ToPixel(static_cast<long long>(p.X) + by.X),
            ToPixel(static_cast<long long>(p.Y) + by.Y)};
}

struct SinCos {
    long double s, c;
};

SinCos Trig(double Theta) {
    if (Theta == 0) return {Theta, 1.0L};  // what sin and cos give for +-0, without the work
    // A symbol's bars and text turn by the same angle, one after the other: the last angle's
    // values are kept rather than reduced and expanded in extended precision again.
    thread_local double lastTheta = 0;
    thread_local SinCos last{0.0L, 1.0L};
    if (Theta != lastTheta || std::signbit(Theta) != std::signbit(lastTheta)) {
        const long double t = Theta;
        last = {std::sin(t), std::cos(t)};
        lastTheta = Theta;
    }
    return last;
}

bool LeftGroup(TTextPosition p) {
    return p == tpTopLeft || p == tpBottomLeft;
}
bool RightGroup(TTextPosition p) {
    return p == tpTopRight || p == tpBottomRight;
}
bool TopGroup(TTextPosition p) {
    return p < tpBottomLeft;
}

// Escapement in tenths of a degree; an angle too large for 32 bits is reduced by whole turns.
int Tenths(double Angle) {
    long long t = RoundHalfEven(static_cast<long double>(Angle) * 10);
    if (t > std::numeric_limits<int>::max() || t < std::numeric_limits<int>::min()) t %= 3600;
    return static_cast<int>(t);
}

}  // namespace

double DrawAngle(double Angle) {
    return static_cast<double>(Angle / 180.0L * std::numbers::pi_v<long double>);
}

namespace {

// The turned coordinates before rounding. Each product is taken in long double, so a coordinate
// at either end of the 32-bit range turns like any other (negating INT_MIN as an int would not).
long double TurnedX(TPoint P, const SinCos& t) {
    return P.X * t.c + P.Y * t.s;
}
long double TurnedY(TPoint P, const SinCos& t) {
    return P.Y * t.c - P.X * t.s;
}

template <typename RoundFn>
TPoint Rotate(TPoint P, const SinCos& t, RoundFn Round) {
    return {ToPixel(Round(TurnedX(P, t))), ToPixel(Round(TurnedY(P, t)))};
}

// RoundHalfEven for a turned 32-bit coordinate (never beyond 64 bits) while the rounding mode
// is to nearest: the x87 store rounds as the library's llrintl does, without the call and the
// mode check per corner.
long long NearestEven(long double v) {
#if defined(__x86_64__) && defined(__GNUC__)
    long long rounded;
    __asm__("fistpll %0" : "=m"(rounded) : "t"(v) : "st");
    return rounded;
#else
    return RoundHalfEven(v);
#endif
}

// Sine and cosine that are 0 or +-1 up to an error below 1e-12: the turned coordinates of any
// 32-bit point then lie within a hundredth of a pixel of an integer, so rounding them gives
// exactly the integer, and the turn can be done in integers.
bool RightAngle(const SinCos& t, int& S, int& C) {
    if (t.s == 0 && t.c == 1) {  // upright, the most common
        S = 0;
        C = 1;
        return true;
    }
    auto unit = [](long double v, int& u) {
        for (int candidate : {0, 1, -1})
            if (std::fabs(v - candidate) < 1e-12L) {
                u = candidate;
                return true;
            }
        return false;
    };
    return unit(t.s, S) && unit(t.c, C);
}

TPoint Rotate(TPoint P, const SinCos& t) {
    int S = 0, C = 0;
    if (detail::FastPaths && RightAngle(t, S, C))
        return {ToPixel(static_cast<long long>(P.X) * C + static_cast<long long>(P.Y) * S),
                ToPixel(-static_cast<long long>(P.X) * S + static_cast<long long>(P.Y) * C)};
    return {ToPixel(RoundHalfEven(TurnedX(P, t))), ToPixel(RoundHalfEven(TurnedY(P, t)))};
}

}  // namespace

TPoint RotatePoint(TPoint P, double Theta) {
    return Rotate(P, Trig(Theta));
}

TPoint RotatedBoxOrigin(TPoint Corner, TPoint Size, double Theta) {
    const SinCos t = Trig(Theta);
    const auto [s, c] = t;
    const long double wb = Size.X, hb = Size.Y;
    // At a right angle each rounded product is the integer one.
    int S = 0, C = 0;
    const bool right = detail::FastPaths && RightAngle(t, S, C);
    auto round = [&](long double v, long long exact) { return right ? exact : RoundHalfEven(v); };
    const long long w = Size.X, h = Size.Y;
    long long dx, dy;
    if (s >= 0 && c >= 0) {
        dx = 0;
        dy = round(wb * s, w * S);
    } else if (s >= 0) {
        dx = -round(wb * c, w * C);
        dy = round(wb * s - hb * c, w * S - h * C);
    } else if (c >= 0) {
        dx = -round(hb * s, h * S);
        dy = 0;
    } else {
        dx = -round(wb * c, w * C) - round(hb * s, h * S);
        dy = -round(hb * c, h * C);
    }
    return {ToPixel(Corner.X + dx), ToPixel(Corner.Y + dy)};
}

int AngleBand(double Angle) {
    return static_cast<int>(RoundHalfEven(Angle) % 360);
}

namespace {

// The elements of an upright symbol as rectangles, the most common case: an element's columns
// follow from where it starts, its rows and colour from its kind. The same rectangles as the
// turn by a right angle gives, without the turn.
void UprightRects(const std::string& Pattern, const TBarWidths& Widths, TColor ColorBar,
                  TColor ColorSpc, TPoint Origin, int H, int HalfTop,
                  std::vector<TColorRect>& Rects) {
    auto at = [](long long v, int by) { return ToPixel(v + by); };
    const int top = at(0, Origin.Y), halfway = at(HalfTop, Origin.Y), bottom = at(H, Origin.Y);
    struct Span {
        int Top, Bottom;
        TColor Color;
    };
    // By TElementKind.
    const Span spans[3] = {{std::min(top, bottom), std::max(top, bottom), ColorSpc},
                           {std::min(top, bottom), std::max(top, bottom), ColorBar},
                           {std::min(halfway, bottom), std::max(halfway, bottom), ColorBar}};
    const TElementReader read(Widths);
    Rects.resize(Pattern.size());
    // Written through a pointer of its own: a push_back would store and load the vector's end
    // between one element and the next.
    TColorRect* rect = Rects.data();
    long long sx = 0;
    for (const char element : Pattern) {
        const auto [width, kind] = read(element);
        const int x0 = at(sx, Origin.X), x1 = at(sx + width - 1, Origin.X);
        const Span& span = spans[static_cast<int>(kind)];
        *rect++ = {{std::min(x0, x1), span.Top, std::max(x0, x1), span.Bottom}, span.Color};
        sx += width;
    }
    Rects.resize(static_cast<std::size_t>(rect - Rects.data()));
}

}  // namespace

void DrawBarLines(const std::string& Pattern, const TBarWidths& Widths, TCustomCanvas& Canvas,
                  TColor ColorBar, TColor ColorSpc, int Left, int Top, int W, int H, double Angle) {
    const double theta = DrawAngle(Angle);
    const TPoint origin = RotatedBoxOrigin({Left, Top}, {W, H}, theta);
    const SinCos trig = Trig(theta);  // once for all corners
    Canvas.Pen.Width = 1;
    // A clear pen would drop the outline that makes up the last column and row of each element.
    Canvas.Pen.Style = psSolid;
    int S = 0, C = 0;
    if (detail::FastPaths && RightAngle(trig, S, C)) {
        // Turned by a right angle every element is an upright rectangle, turned in integers;
        // the surface fills them as it best can.
        auto turn = [&](TPoint p) {
            return Offset(
                TPoint{ToPixel(static_cast<long long>(p.X) * C + static_cast<long long>(p.Y) * S),
                       ToPixel(-static_cast<long long>(p.X) * S + static_cast<long long>(p.Y) * C)},
                origin);
        };
        thread_local std::vector<TColorRect> rects;
        rects.clear();
        long long sx = 0;
        const int halfTop = ToPixel(3LL * H / 5);
        if (S == 0 && C == 1) {
            UprightRects(Pattern, Widths, ColorBar, ColorSpc, origin, H, halfTop, rects);
            Canvas.FillRects(rects);
            return;
        }
        const TElementReader read(Widths);
        for (const char element : Pattern) {
            const auto [width, kind] = read(element);
            const bool half = kind == TElementKind::ShortBar;
            const TPoint a = turn({ToPixel(sx), half ? halfTop : 0});
            const TPoint b = turn({ToPixel(sx + width - 1), H});
            rects.push_back(
                {{std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)},
                 kind == TElementKind::Space ? ColorSpc : ColorBar});
            sx += width;
        }
        Canvas.FillRects(rects);
        return;
    }
    if (detail::FastPaths && std::fegetround() == FE_TONEAREST) {
        // All corners first, then the surface paints the elements as it best can.
        thread_local std::vector<TColorQuad> quads;
        quads.clear();
        const TElementReader read(Widths);
        long long sx = 0;
        for (char element : Pattern) {
            const auto [width, kind] = read(element);
            const int y0 = kind == TElementKind::ShortBar ? ToPixel(3LL * H / 5) : 0;
            const int x0 = ToPixel(sx), x1 = ToPixel(sx + width - 1);
            TColorQuad& quad =
                quads.emplace_back(TColorQuad{{{x0, y0}, {x0, H}, {x1, H}, {x1, y0}},
                                              kind == TElementKind::Space ? ColorSpc : ColorBar});
            for (TPoint& p : quad.Corners) p = Offset(Rotate(p, trig, NearestEven), origin);
            sx += width;
        }
        Canvas.FillQuads(quads);
        return;
    }
    const TElementReader read(Widths);
    long long sx = 0;
    for (char element : Pattern) {
        const auto [width, kind] = read(element);
        Canvas.Pen.Color = kind == TElementKind::Space ? ColorSpc : ColorBar;
        Canvas.Brush.SetColor(Canvas.Pen.Color);
        // A half bar covers the box from three fifths of its height down.
        const int y0 = kind == TElementKind::ShortBar ? ToPixel(3LL * H / 5) : 0;
        const int x0 = ToPixel(sx), x1 = ToPixel(sx + width - 1);
        TPoint corners[4] = {{x0, y0}, {x0, H}, {x1, H}, {x1, y0}};
        for (TPoint& p : corners) p = Offset(Rotate(p, trig), origin);
        Canvas.Polygon(corners);
        sx += width;
    }
}

void DrawBarText(const std::string& Text, TCustomCanvas& Canvas, TColor TextColor,
                 const TFont& Font, int Left, int Top, int W, int H, double Angle,
                 TTextPosition TextPosition) {
    Canvas.Font = Font;
    TLogFont lf = Canvas.CurrentLogFont();
    lf.Escapement = lf.Orientation = Tenths(Angle);
    lf.OutPrecision = OUT_DEFAULT_PRECIS;
    // The canvas keeps the turned font from one call to the next. Turning changes neither the
    // advances nor the height, so it measures the text as well as the upright font would.
    const TFontHandle& turned = Canvas.FontFor(lf);
    const double theta = DrawAngle(Angle);
    const TPoint origin = RotatedBoxOrigin({Left, Top}, {W, H}, theta);
    const TSize extent = turned.TextExtent(Text);
    const long long tw = extent.cx;
    const long long th = extent.cy;

    long long x;
    if (LeftGroup(TextPosition))
        x = 0;
    else if (RightGroup(TextPosition))
        x = W - tw - 1;
    else
        x = (W - tw) / 2;  // truncates toward zero
    const long long y = TopGroup(TextPosition) ? 0 : H - th;
    TPoint at = Offset(RotatePoint({ToPixel(x), ToPixel(y)}, theta), origin);

    // One-pixel nudges by the quadrant the text faces.
    const int a = AngleBand(Angle);
    const bool upright = a <= 45 || a > 315;
    // The nudge wraps at the 32-bit edge like every coordinate here, never overflows.
    auto nudge = [](int& v) { v = ToPixel(static_cast<long long>(v) + 1); };
    if (upright && !TopGroup(TextPosition)) nudge(at.Y);
    if (upright && RightGroup(TextPosition)) nudge(at.X);
    if (a > 135 && a <= 225 && TopGroup(TextPosition)) nudge(at.Y);
    if (a > 225 && a <= 315) nudge(at.X);

    const TFontHandle* previous = Canvas.SelectFont(&turned);
    struct SelectBack {
        TCustomCanvas& canvas;
        const TFontHandle* font;
        ~SelectBack() { canvas.SelectFont(font); }
    } selectBack{Canvas, previous};

    Canvas.Brush.SetColor(TextColor);
    Canvas.TextOut(at.X, at.Y, Text);
}

namespace {

void CheckTextOptions(TTextShow TextShow, TTextPosition TextPosition) {
    if (TextShow > tsBoth) throw Exception(Format("Invalid TextShow value %d.", int{TextShow}));
    // Without text the position is never looked at.
    if (TextShow != tsNone && TextPosition > tpBottomCenter)
        throw Exception(Format("Invalid TextPosition value %d.", int{TextPosition}));
}

void DrawSymbol(TCustomCanvas& Canvas, const TBarSymbol& Symbol, int Left, int Top, int Height,
                const TFont& Font, TTextShow TextShow, TTextPosition TextPosition, TColor ColorBar,
                TColor ColorSpc, TColor TextColor, double Angle) {
    // The caller gets its font, pen and brush back however this call ends.
    struct Restore {
        TCustomCanvas& canvas;
        const TFont font;
        const TPen pen;
        const TBrush brush;
        const TFontHandle* selected;  // a font object the caller had selected
        ~Restore() {
            canvas.Font = font;
            canvas.Pen = pen;
            canvas.Brush = brush;
            canvas.SelectFont(selected);
        }
    } restore{Canvas, Canvas.Font, Canvas.Pen, Canvas.Brush, Canvas.SelectedFont()};

    const int W = Symbol.Length;
    DrawBarLines(Symbol.Pattern, Symbol.Widths, Canvas, ColorBar, ColorSpc, Left, Top, W, Height,
                 Angle);

    switch (TextShow) {
        case tsNone:
            return;
        case tsBarCode:
            DrawBarText(Symbol.Text, Canvas, TextColor, Font, Left, Top, W, Height, Angle,
                        TextPosition);
            return;
        case tsBarType:
            DrawBarText(Z_GetBarTypeName(Symbol.BarType), Canvas, TextColor, Font, Left, Top, W,
                        Height, Angle, TextPosition);
            return;
        case tsBoth:
            DrawBarText(Z_GetBarTypeName(Symbol.BarType) + " " + Symbol.Text, Canvas, TextColor,
                        Font, Left, Top, W, Height, Angle, TextPosition);
            return;
    }
}

}  // namespace

void Z_DrawBar(TCustomCanvas& Canvas, const TBarSymbol& Symbol, int Left, int Top, int Height,
               const TFont& Font, TTextShow TextShow, TTextPosition TextPosition, TColor ColorBar,
               TColor ColorSpc, TColor TextColor, double Angle) {
    CheckTextOptions(TextShow, TextPosition);
    DrawSymbol(Canvas, Symbol, Left, Top, Height, Font, TextShow, TextPosition, ColorBar, ColorSpc,
               TextColor, Angle);
}

void Z_DrawBar(TCustomCanvas& Canvas, TBarType BarType, const std::string& BarCode, int Modul,
               double Ratio, TCheckSum CheckSum, int Left, int Top, int Height, const TFont& Font,
               TTextShow TextShow, TTextPosition TextPosition, TColor ColorBar, TColor ColorSpc,
               TColor TextColor, double Angle, const TEditionRules& Rules) {
    CheckTextOptions(TextShow, TextPosition);
    DrawSymbol(Canvas, Z_EncodeBar(BarType, BarCode, Modul, Ratio, CheckSum, Rules), Left, Top,
               Height, Font, TextShow, TextPosition, ColorBar, ColorSpc, TextColor, Angle);
}

}  // namespace ribbon
