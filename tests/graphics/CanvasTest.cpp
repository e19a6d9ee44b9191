// The canvas's shapes: GDI's pixel rules for polygons, rectangles and lines, and clipping.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <numbers>
#include <set>
#include <vector>

#include "graphics/Bitmap.h"

namespace ribbon {
namespace {

constexpr TColor Paper = RGB(200, 200, 200);

TBitmap Blank(int w, int h) {
    TBitmap b(w, h);
    b.Canvas().Brush.SetColor(Paper);
    b.Canvas().FillRect({0, 0, w, h});
    return b;
}

// The pixels that are not the paper colour.
std::set<std::pair<int, int>> Painted(TBitmap& b) {
    std::set<std::pair<int, int>> out;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Canvas().Pixel(x, y) != Paper) out.insert({x, y});
    return out;
}

std::set<std::pair<int, int>> Block(int x0, int y0, int x1, int y1) {
    std::set<std::pair<int, int>> out;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) out.insert({x, y});
    return out;
}

TEST(Canvas, UprightPolygonCoversBothCornerColumnsAndRows) {
    struct Case {
        int x0, y0, x1, y1;
    };
    const Case cases[] = {
        {2, 3, 9, 12},  // a bar
        {5, 1, 5, 14},  // a bar one pixel wide: left and right corners coincide
        {4, 7, 11, 7},  // one pixel high
        {6, 6, 6, 6},   // a single pixel
        {9, 12, 2, 3},  // corners given the other way round
    };
    // One colour for pen and brush, and two (which draws interior and outline separately).
    for (TColor pen : {clBlack, clRed}) {
        for (const Case& c : cases) {
            TBitmap b = Blank(16, 16);
            b.Canvas().Pen.Color = pen;
            b.Canvas().Brush.SetColor(clBlack);
            const TPoint corners[4] = {{c.x0, c.y0}, {c.x0, c.y1}, {c.x1, c.y1}, {c.x1, c.y0}};
            b.Canvas().Polygon(corners);
            EXPECT_EQ(Painted(b), Block(std::min(c.x0, c.x1), std::min(c.y0, c.y1),
                                        std::max(c.x0, c.x1), std::max(c.y0, c.y1)))
                << c.x0 << "," << c.y0 << " " << c.x1 << "," << c.y1 << " pen " << pen;
        }
    }
}

TEST(Canvas, PolygonIsFilledWithTheBrushAndOutlinedWithThePen) {
    TBitmap b = Blank(12, 12);
    TCanvas& c = b.Canvas();
    c.Pen.Color = clRed;
    c.Brush.SetColor(clBlue);
    const TPoint corners[4] = {{1, 1}, {1, 8}, {8, 8}, {8, 1}};
    c.Polygon(corners);
    for (int y = 1; y <= 8; ++y)
        for (int x = 1; x <= 8; ++x) {
            const bool edge = x == 1 || x == 8 || y == 1 || y == 8;
            EXPECT_EQ(c.Pixel(x, y), edge ? clRed : clBlue) << x << "," << y;
        }

    // A clear brush leaves the inside alone; a clear pen drops the outline.
    TBitmap hollow = Blank(12, 12);
    hollow.Canvas().Brush.SetStyle(bsClear);
    hollow.Canvas().Polygon(corners);
    EXPECT_EQ(hollow.Canvas().Pixel(4, 4), Paper);
    EXPECT_EQ(hollow.Canvas().Pixel(1, 4), clBlack);
    TBitmap bare = Blank(12, 12);
    bare.Canvas().Pen.Style = psClear;
    bare.Canvas().Brush.SetColor(clBlue);
    bare.Canvas().Polygon(corners);
    EXPECT_EQ(Painted(bare), Block(1, 1, 7, 7));  // the interior alone excludes right and bottom
}

TEST(Canvas, TurnedPolygonsStayAliasedAndSolid) {
    // A 40 x 10 bar turned by several angles: only the two colours appear, the painted area is
    // close to the bar's area, and the polygon is solid (every row is one run).
    for (double degrees : {0.0, 17.0, 30.0, 45.0, 90.0, 133.3, 217.5, 300.0}) {
        TBitmap b = Blank(80, 80);
        TCanvas& c = b.Canvas();
        c.Brush.SetColor(clBlack);
        const long double t = degrees / 180.0L * std::numbers::pi_v<long double>;
        auto at = [&](double x, double y) {
            return TPoint{static_cast<int>(std::lround(40 + x * std::cos(t) + y * std::sin(t))),
                          static_cast<int>(std::lround(40 - x * std::sin(t) + y * std::cos(t)))};
        };
        const TPoint corners[4] = {at(-20, -5), at(-20, 5), at(19, 5), at(19, -5)};
        c.Polygon(corners);
        const auto painted = Painted(b);
        for (const auto& [x, y] : painted) ASSERT_EQ(c.Pixel(x, y), clBlack);
        EXPECT_NEAR(static_cast<double>(painted.size()), 40 * 11, 40) << degrees;
        for (int y = 0; y < 80; ++y) {
            int runs = 0;
            for (int x = 0; x < 80; ++x)
                if (c.Pixel(x, y) == clBlack && (x == 0 || c.Pixel(x - 1, y) != clBlack)) ++runs;
            EXPECT_LE(runs, 1) << degrees << " row " << y;
        }
    }
}

TEST(Canvas, RectanglesLeaveOutTheirFarEdge) {
    TBitmap b = Blank(12, 12);
    TCanvas& c = b.Canvas();
    c.Brush.SetColor(clBlue);
    c.Rectangle(2, 3, 7, 9);
    EXPECT_EQ(Painted(b), Block(2, 3, 6, 8));
    EXPECT_EQ(c.Pixel(2, 3), clBlack);  // outline
    EXPECT_EQ(c.Pixel(4, 5), clBlue);   // inside

    TBitmap f = Blank(12, 12);
    f.Canvas().Brush.SetColor(clBlue);
    f.Canvas().FillRect({2, 3, 7, 9});
    EXPECT_EQ(Painted(f), Block(2, 3, 6, 8));
    f.Canvas().FillRect({9, 9, 8, 11});  // right before left: nothing
    EXPECT_EQ(Painted(f), Block(2, 3, 6, 8));
}

TEST(Canvas, ShapesFarOutsideAreClipped) {
    TBitmap b = Blank(10, 10);
    TCanvas& c = b.Canvas();
    c.Brush.SetColor(clBlack);
    const TPoint huge[4] = {{INT_MIN, INT_MIN}, {INT_MIN, 5}, {INT_MAX, 5}, {INT_MAX, INT_MIN}};
    c.Polygon(huge);
    EXPECT_EQ(Painted(b), Block(0, 0, 9, 5));
    const TPoint away[4] = {
        {-2000000000, 50}, {-2000000000, 900}, {2000000000, 900}, {2000000000, 50}};
    c.Polygon(away);
    c.FillRect({INT_MIN, 7, INT_MAX, 8});
    EXPECT_EQ(Painted(b), [] {
        auto s = Block(0, 0, 9, 5);
        s.merge(Block(0, 7, 9, 7));
        return s;
    }());
    c.Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    c.MoveTo(INT_MIN, INT_MIN);
    c.LineTo(INT_MAX, INT_MAX);
    EXPECT_EQ(c.Pixel(-1, 0), 0xFFFFFFFFu);

    // A wide pen is centred on its line: one just left of the surface reaches in.
    TBitmap w = Blank(10, 10);
    w.Canvas().Pen.Width = 5;
    w.Canvas().MoveTo(-2, 20);
    w.Canvas().LineTo(-2, -20);
    EXPECT_EQ(Painted(w), Block(0, 0, 0, 9));
}

}  // namespace
}  // namespace ribbon
