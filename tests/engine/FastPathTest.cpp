// The fast paths of the drawing (bars at right angles filled by rows, text blended by rows) give
// exactly the pixels of the general paths (every bar a scan-converted polygon with its outline,
// every glyph pixel blended alone), on random symbols, angles, text options and colours.

#include <gtest/gtest.h>

#include <random>

#include "engine/ZBarCode.h"
#include "runtime/Bitmap.h"
#include "runtime/Canvas.h"
#include "runtime/Exceptions.h"
#include "runtime/TextRuns.h"
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
    for (int n = 0; n < 400; ++n) {
        const auto& sample = test::SymbolSamples[pick(0, std::size(test::SymbolSamples) - 1)];
        const double angle = angles[pick(0, std::size(angles) - 1)];
        const int modul = pick(1, 3), height = pick(-20, 90), left = pick(-40, 120),
                  top = pick(-40, 120);
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
    EXPECT_GT(drawn, 300);
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
