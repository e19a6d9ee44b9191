// The fast paths of the drawing (bars at right angles filled by rows, text blended by rows) give
// exactly the pixels of the general paths (every bar a scan-converted polygon with its outline,
// every glyph pixel blended alone), on random symbols, angles, text options and colours.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>
#include <vector>

#include "base/Exceptions.h"
#include "engine/ZBarCode.h"
#include "graphics/Bitmap.h"
#include "graphics/Canvas.h"
#include "graphics/TextRuns.h"
#include "tests/engine/SymbolSamples.h"

namespace ribbon {
namespace {

struct GeneralPaths {
    GeneralPaths() { detail::FastPaths = false; }
    ~GeneralPaths() { detail::FastPaths = true; }
};

TEST(FastPaths, DrawTheSamePixelsAsTheGeneralPaths) {
    std::mt19937 random(20261207);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    auto color = [&] { return static_cast<TColor>(random() & 0xFFFFFF); };
    const double angles[] = {0, 90, 180, 270, -90, 360, 450, -180, 30, 1, 89.5, 225, 330.25};
    int drawn = 0;
    for (int n = 0; n < 1000; ++n) {
        const auto& sample = test::SymbolSamples[pick(0, std::size(test::SymbolSamples) - 1)];
        // Half the cases at any angle at all, some of them past a full turn.
        const double angle = n % 2 ? angles[pick(0, std::size(angles) - 1)]
                                   : std::uniform_real_distribution<double>(-720, 720)(random);
        // Now and then a bar taller than the surface, or a symbol hanging over its edges.
        const int modul = pick(1, 3), height = pick(0, 5) ? pick(-20, 90) : pick(150, 400),
                  left = pick(0, 3) ? pick(-40, 120) : pick(-300, 250),
                  top = pick(0, 3) ? pick(-40, 120) : pick(-300, 170);
        const double ratio = pick(4, 7) * 0.5;
        const auto show = static_cast<TTextShow>(pick(0, 3));
        const auto position = static_cast<TTextPosition>(pick(0, 5));
        TFont font;
        font.Size = pick(6, 14);
        font.Color = color();
        if (pick(0, 3) == 0) font.Style.Include(fsBold);
        if (pick(0, 3) == 0) font.Style.Include(fsItalic);
        if (pick(0, 4) == 0) font.Style.Include(fsUnderline);
        if (pick(0, 4) == 0) font.Style.Include(fsStrikeOut);
        const TColor bar = color(), space = color(), textBack = color();

        // A background of noise: pixels the drawing leaves alone must stay as they were.
        TBitmap fast(260, 180), general(260, 180);
        for (int y = 0; y < fast.Height(); ++y)
            for (int x = 0; x < fast.Width() * 3; ++x) fast.ScanLine(y)[x] = random() & 0xFF;
        general.Assign(fast);

        SCOPED_TRACE(::testing::Message()
                     << sample.Name << " angle " << angle << " modul " << modul << " height "
                     << height << " at " << left << "," << top << " text " << int{show}
                     << " position " << int{position} << " size " << font.Size);
        auto draw = [&](TBitmap& on) {
            Z_DrawBar(on.Canvas(), sample.Type, sample.Data, modul, ratio, csNone, left, top,
                      height, font, show, position, bar, space, textBack, angle);
        };
        try {
            // Drawn before elsewhere and on other pixels, so that the text is a kept run now.
            TBitmap before(260, 180);
            draw(before);
            Z_DrawBar(before.Canvas(), sample.Type, sample.Data, modul, ratio, csNone, left + 37,
                      top - 23, height, font, show, position, bar, space, textBack, angle);
            draw(fast);
        } catch (const Exception&) {
            continue;  // data a symbology refuses at this ratio: nothing to compare
        }
        {
            const GeneralPaths general_;
            draw(general);
        }
        ++drawn;
        ASSERT_EQ(fast.Encode(TImageFormat::Bmp), general.Encode(TImageFormat::Bmp));
    }
    EXPECT_GT(drawn, 750);
}

// The surface's own way of painting quadrilaterals against polygons with their outlines, on
// shapes that bars never take as well: crossed, folded, flat, single points, far off the surface.
TEST(FastPaths, QuadsPaintTheSamePixelsAsPolygons) {
    std::mt19937 random(7122026);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    auto corner = [&]() -> TPoint {
        switch (pick(0, 9)) {
            case 0: {  // beyond what 64-bit steps can hold
                auto far = [&] { return pick(0, 1) ? INT_MAX - pick(0, 3) : INT_MIN + pick(0, 3); };
                return {far(), pick(0, 1) ? far() : pick(-30, 70)};
            }
            case 1:  // either side of that limit
                return {pick(-30, 90), (pick(0, 1) ? 1 : -1) * ((1 << 29) + pick(-1, 1))};
            default:
                return {pick(-30, 90), pick(-30, 70)};
        }
    };
    for (int n = 0; n < 3000; ++n) {
        std::vector<TColorQuad> quads(pick(1, 6));
        for (TColorQuad& q : quads) {
            q.Color = static_cast<TColor>(random() & 0xFFFFFF);
            if (pick(0, 1)) {
                for (TPoint& p : q.Corners) p = corner();
                if (pick(0, 3) == 0) q.Corners[pick(0, 3)] = q.Corners[pick(0, 3)];
                continue;
            }
            // A bar turned by some angle, its corners rounded: thin, tall or clipped.
            const double a = std::uniform_real_distribution<double>(0, 6.3)(random);
            const double w = pick(0, 5), h = pick(0, 3) ? pick(-5, 60) : pick(100, 300);
            const double x = pick(-40, 100), y = pick(-40, 90), c = std::cos(a), s = std::sin(a);
            const double u[4] = {0, 0, w, w}, v[4] = {0, h, h, 0};
            for (int i = 0; i < 4; ++i)
                q.Corners[i] = {static_cast<int>(std::lround(x + u[i] * c + v[i] * s)),
                                static_cast<int>(std::lround(y - u[i] * s + v[i] * c))};
        }
        TBitmap fast(64, 48), general(64, 48);
        for (int y = 0; y < fast.Height(); ++y)
            for (int x = 0; x < fast.Width() * 3; ++x) fast.ScanLine(y)[x] = random() & 0xFF;
        general.Assign(fast);
        fast.Canvas().FillQuads(quads);
        {
            const GeneralPaths general_;
            general.Canvas().FillQuads(quads);
        }
        SCOPED_TRACE(::testing::Message() << "case " << n << ", first corner "
                                          << quads[0].Corners[0].X << "," << quads[0].Corners[0].Y);
        ASSERT_EQ(fast.Encode(TImageFormat::Bmp), general.Encode(TImageFormat::Bmp));
        EXPECT_EQ(fast.Canvas().Pen.Color, quads.back().Color);
    }
}

// Shapes at the edges of what the surface paints its own way, each against the polygons.
TEST(FastPaths, QuadsAtTheEdgesPaintTheSamePixels) {
    constexpr int Edge = 1 << 29;
    const TColor a = 0x123456, b = 0xABCDEF;
    const struct {
        const char* name;
        std::vector<TColorQuad> quads;
    } cases[] = {
        {"bar one pixel wide", {{{{3, 20}, {13, 2}, {13, 2}, {3, 20}}, a}}},
        {"bar of no height", {{{{4, 6}, {4, 6}, {9, 3}, {9, 3}}, a}}},
        {"bar of negative height", {{{{10, 5}, {4, 15}, {7, 17}, {13, 7}}, a}}},
        {"one pixel", {{{{39, 29}, {39, 29}, {39, 29}, {39, 29}}, a}}},
        {"over the top and left", {{{{-5, -8}, {-1, 12}, {4, 11}, {0, -9}}, a}}},
        {"over the bottom and right", {{{{35, 20}, {44, 40}, {47, 38}, {38, 19}}, a}}},
        {"taller than the surface", {{{{10, -100}, {60, 200}, {63, 199}, {13, -101}}, a}}},
        {"flat, wider than the surface", {{{{-50, 10}, {90, 25}, {90, 28}, {-50, 13}}, a}}},
        {"at the limit", {{{{-Edge, 3}, {Edge, 20}, {Edge, 22}, {-Edge, 5}}, a}}},
        {"past the limit", {{{{-Edge - 1, 3}, {Edge, 20}, {Edge, 22}, {-Edge, 5}}, a}}},
        {"crossed", {{{{2, 2}, {20, 20}, {2, 20}, {20, 2}}, a}}},
        {"folded", {{{{2, 2}, {12, 20}, {22, 2}, {12, 10}}, a}}},
        {"later over earlier",
         {{{{5, 3}, {12, 25}, {16, 24}, {9, 2}}, a}, {{{8, 2}, {15, 24}, {19, 23}, {12, 1}}, b}}},
    };
    std::mt19937 random(5);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TBitmap fast(40, 30), general(40, 30);
        for (int y = 0; y < fast.Height(); ++y)
            for (int x = 0; x < fast.Width() * 3; ++x) fast.ScanLine(y)[x] = random() & 0xFF;
        general.Assign(fast);
        fast.Canvas().FillQuads(c.quads);
        {
            const GeneralPaths general_;
            general.Canvas().FillQuads(c.quads);
        }
        EXPECT_EQ(fast.Encode(TImageFormat::Bmp), general.Encode(TImageFormat::Bmp));
    }
}

// Text alone, with what labels never use: an escapement apart from the orientation, strike-out,
// unsmoothed glyphs, a clear brush, places at and beyond the edges. Texts and colours repeat, so
// that runs are kept and copied to other places.
TEST(FastPaths, WriteTheSameTextAsTheGeneralPaths) {
    std::mt19937 random(7);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    const char* texts[] = {"5901234123457", "Hello World 1234", "fjy_WAV", "i", "\x80\xe9\xff"};
    const TColor colors[] = {clBlack, clWhite, RGB(200, 30, 90), RGB(1, 254, 128)};
    const int escapements[] = {0, 0, 0, 900, 1800, 2700, 300, -450};
    const unsigned long long hitsBefore = detail::TTextRunCache::ForThread().Hits;
    for (int n = 0; n < 600; ++n) {
        TLogFont lf;
        lf.FaceName = pick(0, 1) ? "DejaVu Sans" : "Liberation Serif";
        lf.Height = -pick(6, 40);
        lf.Weight = pick(0, 2) ? FW_NORMAL : FW_BOLD;
        lf.Italic = pick(0, 2) == 0;
        lf.Underline = pick(0, 2) == 0;
        lf.StrikeOut = pick(0, 3) == 0;
        lf.Quality = pick(0, 3) ? DEFAULT_QUALITY : NONANTIALIASED_QUALITY;
        lf.Escapement = escapements[pick(0, std::size(escapements) - 1)];
        lf.Orientation = pick(0, 3) ? lf.Escapement : 900;
        const auto handle = CreateFontIndirect(lf);
        // A font that differs in one thing writes first: its run is not this one's.
        TLogFont near = lf;
        switch (pick(0, 5)) {
            case 0:
                near.Underline = !near.Underline;
                break;
            case 1:
                near.StrikeOut = !near.StrikeOut;
                break;
            case 2:
                near.Quality = near.Quality ? DEFAULT_QUALITY : NONANTIALIASED_QUALITY;
                break;
            case 3:
                near.Italic = !near.Italic;
                break;
            case 4:
                near.Weight = near.Weight == FW_BOLD ? FW_NORMAL : FW_BOLD;
                break;
            default:
                near.Orientation += 900;
        }
        const auto nearHandle = CreateFontIndirect(near);
        const std::string text = texts[pick(0, std::size(texts) - 1)];
        const TColor ink = colors[pick(0, 3)], back = colors[pick(0, 3)];
        const bool clear = pick(0, 9) == 0;
        const int x = pick(0, 5) ? pick(-60, 200) : (pick(0, 1) ? -(1 << 28) : 1 << 29),
                  y = pick(-60, 160);
        SCOPED_TRACE(::testing::Message()
                     << n << ": \"" << text << "\" at " << x << "," << y << " escapement "
                     << lf.Escapement << " size " << lf.Height);

        TBitmap fast(200, 120), general(200, 120);
        for (int row = 0; row < fast.Height(); ++row)
            for (int i = 0; i < fast.Width() * 3; ++i) fast.ScanLine(row)[i] = random() & 0xFF;
        general.Assign(fast);
        auto write = [&](TBitmap& on, int X, int Y, const TFontHandle* font) {
            TCanvas& canvas = on.Canvas();
            canvas.Font.Color = ink;
            canvas.Brush.SetColor(back);
            if (clear) canvas.Brush.SetStyle(bsClear);
            canvas.SelectFont(font);
            canvas.TextOut(X, Y, text);
            canvas.SelectFont(nullptr);
        };
        TBitmap before(200, 120);
        write(before, x, y, nearHandle.get());
        write(before, x + 11, y, handle.get());
        write(before, x, y - 7, handle.get());
        write(before, x, y, handle.get());
        write(fast, x, y, handle.get());
        {
            const GeneralPaths general_;
            write(general, x, y, handle.get());
        }
        ASSERT_EQ(fast.Encode(TImageFormat::Bmp), general.Encode(TImageFormat::Bmp));
    }
    EXPECT_GT(detail::TTextRunCache::ForThread().Hits - hitsBefore, 600u);
}

// Surfaces with no pixels, or a single one, that text reaches from outside.
TEST(FastPaths, WriteOnTinySurfacesAsTheGeneralPaths) {
    for (const auto& [width, height] : {std::pair{0, 4}, {4, 0}, {0, 0}, {1, 1}}) {
        TBitmap fast(width, height), general(width, height);
        auto write = [&](TBitmap& on) {
            on.Canvas().Font.Color = RGB(10, 200, 30);
            for (const TPoint at : {TPoint{-75, -2}, {-3, -9}, {0, 0}})
                on.Canvas().TextOut(at.X, at.Y, "5901234123457");
        };
        write(fast);
        {
            const GeneralPaths general_;
            write(general);
        }
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                EXPECT_EQ(fast.Canvas().Pixel(x, y), general.Canvas().Pixel(x, y));
    }
}

}  // namespace
}  // namespace ribbon
