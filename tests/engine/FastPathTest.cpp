// The fast paths of the drawing (bars at right angles filled by rows, text blended by rows) give
// exactly the pixels of the general paths (every bar a scan-converted polygon with its outline,
// every glyph pixel blended alone), on random symbols, angles, text options and colours.

#include <gtest/gtest.h>

#include <random>

#include "engine/ZBarCode.h"
#include "runtime/Bitmap.h"
#include "runtime/Exceptions.h"
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

}  // namespace
}  // namespace ribbon
