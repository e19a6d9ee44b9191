// Z_DrawBar and its steps: where the bars land at every angle, where the text goes, and that the
// caller's canvas state survives every call.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>

#include "base/Exceptions.h"
#include "engine/Draw.h"
#include "engine/Encoders.h"
#include "graphics/Bitmap.h"
#include "tests/ErrorOf.h"
#include "tests/engine/SymbolSamples.h"

namespace ribbon {
namespace {

// The message of the error that fn raises, "" when it raises none.
std::string Refusal(const std::function<void()>& fn) {
    return test::ErrorOf(fn, "");
}

constexpr TColor Paper = RGB(200, 200, 200);
constexpr TColor Bar = clBlack, Space = RGB(255, 255, 0), TextBack = clRed, Ink = clBlue;

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -(1 << 30), bottom = -(1 << 30);  // inclusive
    bool operator==(const Box&) const = default;
    bool Empty() const { return right < left; }
};

std::ostream& operator<<(std::ostream& os, const Box& b) {
    return os << "x " << b.left << ".." << b.right << ", y " << b.top << ".." << b.bottom;
}

Box BoxOf(TCanvas& c, const std::function<bool(TColor)>& match) {
    Box b;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x)
            if (match(c.Pixel(x, y))) {
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, y);
                b.bottom = std::max(b.bottom, y);
            }
    return b;
}

TBitmap Paper_(int w, int h) {
    TBitmap b(w, h);
    b.Canvas().Brush.SetColor(Paper);
    b.Canvas().FillRect({0, 0, w, h});
    return b;
}

TEST(Draw, RotatedBoxOriginPutsTheTurnedBoxAtTheCorner) {
    // At right angles the origin is exact.
    const TPoint corner{7, 11}, size{40, 25};
    EXPECT_EQ(RotatedBoxOrigin(corner, size, DrawAngle(0)), (TPoint{7, 11}));
    EXPECT_EQ(RotatedBoxOrigin(corner, size, DrawAngle(90)), (TPoint{7, 51}));
    EXPECT_EQ(RotatedBoxOrigin(corner, size, DrawAngle(180)), (TPoint{47, 36}));
    EXPECT_EQ(RotatedBoxOrigin(corner, size, DrawAngle(270)), (TPoint{32, 11}));
    // At any angle: the corner minus the smallest x and y of the four turned corners, within
    // the pixel that rounding each term separately may cost.
    for (double angle = -360; angle <= 720; angle += 7.5) {
        const double theta = DrawAngle(angle);
        int minX = 1 << 30, minY = 1 << 30;
        for (TPoint p : {TPoint{0, 0}, TPoint{size.X, 0}, TPoint{0, size.Y}, size}) {
            const TPoint r = RotatePoint(p, theta);
            minX = std::min(minX, r.X);
            minY = std::min(minY, r.Y);
        }
        const TPoint origin = RotatedBoxOrigin(corner, size, theta);
        EXPECT_NEAR(origin.X, corner.X - minX, 1) << angle;
        EXPECT_NEAR(origin.Y, corner.Y - minY, 1) << angle;
    }
}

// Coordinates at the ends of the 32-bit range turn like any other and wrap as pixels do.
TEST(Draw, PointsAtTheEndsOfTheRangeTurnWithoutOverflow) {
    constexpr int lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
    auto wrap = [](long double v) {
        return static_cast<int>(static_cast<std::uint32_t>(std::llrint(v)));
    };
    for (const TPoint p : {TPoint{lo, lo}, TPoint{lo, hi}, TPoint{hi, lo}, TPoint{lo, 0}}) {
        for (double angle : {0.0, 30.0, 90.0, 180.0, 270.0}) {
            const long double theta = DrawAngle(angle);
            const long double s = std::sin(theta), c = std::cos(theta);
            // Right angles turn exactly; elsewhere rounding may differ in the last place.
            const bool right = std::fmod(angle, 90.0) == 0;
            const long double x =
                right ? p.X * std::round(c) + p.Y * std::round(s) : p.X * c + p.Y * s;
            const long double y =
                right ? p.Y * std::round(c) - p.X * std::round(s) : p.Y * c - p.X * s;
            const TPoint r = RotatePoint(p, DrawAngle(angle));
            EXPECT_EQ(r, (TPoint{wrap(x), wrap(y)})) << p.X << "," << p.Y << " at " << angle;
        }
    }
}

TEST(Draw, AngleBandRoundsAndKeepsTheSignOfTheAngle) {
    const std::pair<double, int> cases[] = {
        {0, 0},     {360, 0},     {359.6, 0},   {-90, -90},  {270, 270}, {45, 45},
        {45.6, 46}, {134.5, 134}, {135.5, 136}, {-405, -45}, {725, 5},
    };
    for (const auto& [angle, band] : cases) EXPECT_EQ(AngleBand(angle), band) << angle;
}

// Where module column k, row y of the upright symbol box lands on the canvas at a right angle.
using Place = TPoint (*)(int k, int y, int L, int T, int W, int H);
struct RightAngle {
    double angle;
    Place place;
    Box (*extent)(int L, int T, int W, int H);
};
const RightAngle RightAngles[] = {
    {0,
     [](int k, int y, int L, int T, int, int) {
         return TPoint{L + k, T + y};
     },
     [](int L, int T, int W, int H) {
         return Box{L, T, L + W - 1, T + H};
     }},
    {90,
     [](int k, int y, int L, int T, int W, int) {
         return TPoint{L + y, T + W - k};
     },
     [](int L, int T, int W, int H) {
         return Box{L, T + 1, L + H, T + W};
     }},
    {180,
     [](int k, int y, int L, int T, int W, int H) {
         return TPoint{L + W - k, T + H - y};
     },
     [](int L, int T, int W, int H) {
         return Box{L + 1, T, L + W, T + H};
     }},
    {270,
     [](int k, int y, int L, int T, int, int H) {
         return TPoint{L + H - y, T + k};
     },
     [](int L, int T, int W, int H) {
         return Box{L, T, L + H, T + W - 1};
     }},
};

// The colour the element under module column k shows at row y, or Paper above a half bar.
TColor Expected(const std::string& pattern, const TBarWidths& w, int k, int y, int H) {
    int sx = 0;
    for (char c : pattern) {
        const TBarLine line = GetBarLine(c, w);
        if (k < sx + line.Width) {
            if (line.LineType == white) return Space;
            return line.LineType == black_half && y < 3 * H / 5 ? Paper : Bar;
        }
        sx += line.Width;
    }
    return Paper;
}

TEST(Draw, EveryElementLandsInItsColourAtTheRightAngles) {
    const int L = 13, T = 17, H = 30, modul = 2;
    for (const test::SymbolSample& s : test::SymbolSamples) {
        const TBarSymbol symbol = EncodeBar(s.Type, s.Data, modul, 2.0, csNone);
        const TBarWidths& widths = symbol.Widths;
        const std::string& pattern = symbol.Pattern;
        const int W = Z_GetBarWidth(s.Type, s.Data, modul, 2.0, csNone);
        for (const RightAngle& r : RightAngles) {
            TBitmap b = Paper_(std::max(W, H) + 40, std::max(W, H) + 40);
            Z_DrawBar(b.Canvas(), s.Type, s.Data, modul, 2.0, csNone, L, T, H, TFont(), tsNone,
                      tpBottomCenter, Bar, Space, TextBack, r.angle);
            EXPECT_EQ(BoxOf(b.Canvas(), [](TColor c) { return c != Paper; }), r.extent(L, T, W, H))
                << s.Name << " at " << r.angle;
            int wrong = 0;
            for (int k = 0; k < W; ++k)
                for (int y = 0; y <= H; ++y) {
                    const TPoint p = r.place(k, y, L, T, W, H);
                    wrong += b.Canvas().Pixel(p.X, p.Y) != Expected(pattern, widths, k, y, H);
                }
            EXPECT_EQ(wrong, 0) << s.Name << " at " << r.angle;
        }
    }
}

TEST(Draw, HalfBarsStartAtThreeFifthsOfTheHeight) {
    // Pattern: full bar, half bar of Width0, space, half bar of Width1; nothing above a half bar.
    const TBarWidths widths{1, 2, 3, 4};
    for (auto [H, y0] : {std::pair{10, 6}, {7, 4}, {5, 3}, {1, 0}}) {
        TBitmap b = Paper_(20, 20);
        DrawBarLines("5A0B", widths, b.Canvas(), Bar, Space, 2, 3, 5, H, 0);
        for (int y = 0; y <= H; ++y) {
            EXPECT_EQ(b.Canvas().Pixel(2, 3 + y), Bar) << H;
            EXPECT_EQ(b.Canvas().Pixel(3, 3 + y), y < y0 ? Paper : Bar) << H << " row " << y;
            EXPECT_EQ(b.Canvas().Pixel(4, 3 + y), Space);
            EXPECT_EQ(b.Canvas().Pixel(5, 3 + y), y < y0 ? Paper : Bar);
            EXPECT_EQ(b.Canvas().Pixel(6, 3 + y), y < y0 ? Paper : Bar);
        }
        EXPECT_EQ(b.Canvas().Pixel(7, 3), Paper);
    }
    // An empty pattern draws nothing; a character outside the alphabet is an internal error.
    TBitmap b = Paper_(10, 10);
    DrawBarLines("", widths, b.Canvas(), Bar, Space, 0, 0, 0, 5, 0);
    EXPECT_TRUE(BoxOf(b.Canvas(), [](TColor c) { return c != Paper; }).Empty());
    EXPECT_EQ(Refusal([&] { DrawBarLines("54", widths, b.Canvas(), Bar, Space, 0, 0, 2, 5, 0); }),
              "Internal Error.");
}

TEST(Draw, AtAnyAngleTheSymbolFillsTheMeasuredBox) {
    // Horizontally the box spans Z_GetCanvasHeight, vertically Z_GetCanvasWidth.
    const int L = 25, T = 31, H = 40;
    for (const test::SymbolSample& s : test::SymbolSamples) {
        for (double angle : {30.0, 217.5, 45.0, 123.4, 300.7, -45.0, 359.6, 1000.0}) {
            const int across = Z_GetCanvasHeight(s.Type, s.Data, 2, 2.0, csNone, H, angle);
            const int down = Z_GetCanvasWidth(s.Type, s.Data, 2, 2.0, csNone, H, angle);
            TBitmap b = Paper_(L + across + 30, T + down + 30);
            Z_DrawBar(b.Canvas(), s.Type, s.Data, 2, 2.0, csNone, L, T, H, TFont(), tsNone,
                      tpTopLeft, Bar, Space, TextBack, angle);
            const Box painted = BoxOf(b.Canvas(), [](TColor c) { return c != Paper; });
            // Inside the box, and touching each of its sides, within a pixel of rounding.
            EXPECT_GE(painted.left, L - 1) << s.Name << " at " << angle;
            EXPECT_LE(painted.left, L + 1) << s.Name << " at " << angle;
            EXPECT_GE(painted.top, T - 1) << s.Name << " at " << angle;
            EXPECT_LE(painted.top, T + 1) << s.Name << " at " << angle;
            EXPECT_LE(painted.right, L + across) << s.Name << " at " << angle;
            EXPECT_GE(painted.right, L + across - 2) << s.Name << " at " << angle;
            EXPECT_LE(painted.bottom, T + down) << s.Name << " at " << angle;
            EXPECT_GE(painted.bottom, T + down - 2) << s.Name << " at " << angle;
            // Only the two colours: bars are never smoothed.
            EXPECT_TRUE(BoxOf(b.Canvas(), [](TColor c) {
                            return c != Paper && c != Bar && c != Space;
                        }).Empty());
        }
    }
}

// The text cell written with its reference point at (X, Y), turned by a right angle.
Box Cell(double angle, TPoint at, int tw, int th) {
    const int x = at.X, y = at.Y;
    switch (static_cast<int>(angle)) {
        case 0:
            return {x, y, x + tw - 1, y + th - 1};
        case 90:
            return {x, y - tw, x + th - 1, y - 1};
        case 180:
            return {x - tw, y - th, x - 1, y - 1};
        default:
            return {x - th, y, x - 1, y + tw - 1};
    }
}

TEST(Draw, TextLandsAtItsPlacementAtEachRightAngle) {
    const int L = 20, T = 24, H = 60;
    const std::string data = "123456";
    TFont font;
    font.Size = 11;
    font.Color = Ink;
    TBitmap probe(1, 1);
    probe.Canvas().Font = font;
    const int tw = probe.Canvas().TextWidth(data), th = probe.Canvas().TextHeight(data);
    const int W = Z_GetBarWidth(bcCode39, data, 2, 2.0, csNone);
    ASSERT_GT(W, tw + 10);
    ASSERT_GT(H, th + 10);

    struct Case {
        double angle;
        TTextPosition position;
        TPoint at;
    };
    const Case cases[] = {
        {0, tpTopLeft, {L, T}},
        {0, tpBottomRight, {L + W - tw, T + H - th + 1}},
        {0, tpBottomCenter, {L + (W - tw) / 2, T + H - th + 1}},
        {90, tpTopLeft, {L, T + W}},
        {90, tpBottomRight, {L + H - th, T + tw + 1}},
        {90, tpBottomCenter, {L + H - th, T + W - (W - tw) / 2}},
        {180, tpTopLeft, {L + W, T + H + 1}},
        {180, tpBottomRight, {L + tw + 1, T + th}},
        {180, tpBottomCenter, {L + W - (W - tw) / 2, T + th}},
        {270, tpTopLeft, {L + H + 1, T}},
        {270, tpBottomRight, {L + th + 1, T + W - tw - 1}},
        {270, tpBottomCenter, {L + th + 1, T + (W - tw) / 2}},
        // The other three positions, by the same rules.
        {0, tpTopRight, {L + W - tw, T}},
        {0, tpTopCenter, {L + (W - tw) / 2, T}},
        {0, tpBottomLeft, {L, T + H - th + 1}},
        {180, tpTopRight, {L + tw + 1, T + H + 1}},
        {270, tpTopCenter, {L + H + 1, T + (W - tw) / 2}},
        {90, tpBottomLeft, {L + H - th, T + W}},
    };
    for (const Case& c : cases) {
        TBitmap b = Paper_(W + 60, W + 60);
        Z_DrawBar(b.Canvas(), bcCode39, data, 2, 2.0, csNone, L, T, H, font, tsBarCode, c.position,
                  Bar, Space, TextBack, c.angle);
        // The rows of the cell above and below the digits are pure text background.
        EXPECT_EQ(BoxOf(b.Canvas(), [](TColor p) { return p == TextBack; }),
                  Cell(c.angle, c.at, tw, th))
            << c.angle << " degrees, position " << int{c.position};
        EXPECT_FALSE(BoxOf(b.Canvas(), [](TColor p) { return p == Ink; }).Empty());
    }
}

TEST(Draw, TextWiderThanTheSymbolIsCentredByTruncation) {
    // Code 39 "1" is 38 pixels long; its name and data are wider. With an odd overhang d the
    // text starts d div 2 pixels left of the symbol, the half pixel dropped toward zero.
    const int L = 100, T = 10, H = 40, W = 38;
    TFont font;
    TBitmap probe(1, 1);
    for (font.Size = 8; font.Size < 20; ++font.Size) {
        probe.Canvas().Font = font;
        if ((probe.Canvas().TextWidth("Code39 1") - W) % 2 == 1) break;
    }
    const int overhang = probe.Canvas().TextWidth("Code39 1") - W;
    ASSERT_EQ(overhang % 2, 1);
    TBitmap b = Paper_(300, 80);
    Z_DrawBar(b.Canvas(), bcCode39, "1", 1, 2.0, csNone, L, T, H, font, tsBoth, tpTopCenter, Bar,
              Space, TextBack, 0);
    EXPECT_EQ(BoxOf(b.Canvas(), [](TColor p) { return p == TextBack; }).left, L - overhang / 2);
}

TEST(Draw, NudgesFollowTheRoundedAngle) {
    const int L = 20, T = 24, H = 60;
    auto cellAt = [&](double angle) {
        TBitmap b = Paper_(300, 300);
        Z_DrawBar(b.Canvas(), bcCode39, "123456", 2, 2.0, csNone, L, T, H, TFont(), tsBarCode,
                  tpBottomRight, Bar, Space, TextBack, angle);
        return BoxOf(b.Canvas(), [](TColor p) { return p == TextBack; });
    };
    EXPECT_EQ(cellAt(360), cellAt(0));
    // -90 turns like 270 but takes the nudges of the upright band: one pixel lower, not right.
    const Box minus90 = cellAt(-90), at270 = cellAt(270);
    EXPECT_EQ(minus90, (Box{at270.left, at270.top + 1, at270.right, at270.bottom + 1}));
}

TEST(Draw, TheTextShownFollowsTextShow) {
    TFont font;
    TBitmap probe(1, 1);
    probe.Canvas().Font = font;
    struct Case {
        TBarType type;
        std::string data;
        TCheckSum checkSum;
        TTextShow show;
        std::string written;
    };
    const Case cases[] = {
        {bcCode39, "123", csNone, tsBoth, "Code39 123"},
        {bcCode39, "123", csNone, tsBarType, "Code39"},
        {bcCode39, "123", csNone, tsBarCode, "123"},
        {bcCode93, "AB", csNone, tsBoth, "Code93 AB"},
        // The UPC types show the data as encoded, with the check digit they added.
        {bcCodeUPC_A, "03600029145", csModulo10, tsBarCode, "036000291452"},
        {bcCode128C, "12345", csNone, tsBoth, "Code128C 012345"},
    };
    for (const Case& c : cases) {
        TBitmap b = Paper_(400, 80);
        Z_DrawBar(b.Canvas(), c.type, c.data, 3, 2.0, c.checkSum, 5, 5, 60, font, c.show, tpTopLeft,
                  Bar, Space, TextBack, 0);
        const Box cell = BoxOf(b.Canvas(), [](TColor p) { return p == TextBack; });
        EXPECT_EQ(cell.right - cell.left + 1, probe.Canvas().TextWidth(c.written)) << c.written;
    }
}

TEST(Draw, TheCallersFontPenAndBrushComeBackOnEveryPath) {
    TFont callers;
    callers.Name = "Courier New";
    callers.Size = 17;
    callers.Color = clGreen;
    callers.Style = {fsItalic};
    TFont textFont;
    textFont.Size = 9;
    textFont.Color = Ink;
    TFont huge = textFont;
    huge.Size = 5000;

    struct Case {
        const char* what;
        TBarType type;
        std::string data;
        TTextShow show;
        const TFont* font;
        double angle;
        std::string error;  // "" when the call succeeds
        bool drawsBars;
    };
    const Case cases[] = {
        {"bars only", bcCode39, "ABC", tsNone, &textFont, 0, "", true},
        {"bars and text", bcCode39, "ABC", tsBoth, &textFont, 30, "", true},
        {"text at 90", bcCode93, "ABC", tsBarCode, &textFont, 90, "", true},
        {"refused data", bcCode93, "ab", tsBoth, &textFont, 0, "ab : Code_93 bad data.", false},
        {"unknown type", static_cast<TBarType>(23), "1", tsBoth, &textFont, 0,
         "Wrong barcode type.", false},
        {"font too large", bcCode39, "ABC", tsBarCode, &huge, 45,
         "A font of 6667 pixels is too large (at most 4096).", true},
    };
    for (const Case& c : cases) {
        TBitmap b = Paper_(200, 200);
        TCanvas& canvas = b.Canvas();
        canvas.Font = callers;
        canvas.Pen.Color = clPurple;
        canvas.Pen.Width = 3;
        canvas.Pen.Style = psClear;
        canvas.Brush.SetColor(clTeal);
        canvas.Brush.SetStyle(bsClear);
        const TFont font = canvas.Font;
        const TPen pen = canvas.Pen;
        const TBrush brush = canvas.Brush;

        const std::string error = Refusal([&] {
            Z_DrawBar(canvas, c.type, c.data, 1, 2.0, csNone, 10, 10, 50, *c.font, c.show,
                      tpBottomCenter, Bar, Space, TextBack, c.angle);
        });
        EXPECT_EQ(error, c.error) << c.what;
        EXPECT_EQ(canvas.Font, font) << c.what;
        EXPECT_EQ(canvas.Pen, pen) << c.what;
        EXPECT_EQ(canvas.Brush, brush) << c.what;
        EXPECT_EQ(canvas.CurrentLogFont(), font.LogFont(canvas.PixelsPerInch())) << c.what;
        const bool painted = !BoxOf(canvas, [](TColor p) { return p != Paper; }).Empty();
        EXPECT_EQ(painted, c.drawsBars) << c.what;
    }
}

// The text's one-pixel nudges at the edge of the coordinate range wrap like every other
// coordinate instead of overflowing (found by the draw fuzz target; the sanitizer build aborts
// on the overflow, so this test guards the sanitizer build). Some Top in the loop puts the
// text's corner exactly on INT_MAX.
TEST(Draw, TextAtTheEdgeOfTheCoordinateRange) {
    TBitmap b = Paper_(20, 20);
    for (int d = 0; d < 200; ++d)
        for (TTextPosition position : {tpBottomRight, tpTopRight}) {
            Z_DrawBar(b.Canvas(), bcCode39, "AB", 1, 2.0, csNone, INT_MAX - d, INT_MAX - d, 50,
                      TFont(), tsBarCode, position, clBlack, clWhite, clWhite, 0);
            Z_DrawBar(b.Canvas(), bcCode39, "AB", 1, 2.0, csNone, INT_MAX - d, INT_MAX - d, 50,
                      TFont(), tsBarCode, position, clBlack, clWhite, clWhite, 270);
        }
}

}  // namespace
}  // namespace ribbon
