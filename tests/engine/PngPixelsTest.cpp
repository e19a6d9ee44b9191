// Every symbology drawn as `ribbon render` draws it, with and without its text, in black and
// white and in colour, comes back from its PNG file pixel for pixel; the file is grey for black
// and white, a palette for colours, and 1 bit a pixel for two colours.

#include <gtest/gtest.h>

#include "engine/ZBarCode.h"
#include "graphics/Bitmap.h"
#include "tests/PngHeader.h"
#include "tests/SamePixels.h"
#include "tests/engine/SymbolSamples.h"

namespace ribbon {
namespace {

TBitmap Draw(const test::SymbolSample& sample, TTextShow text, TColor bar, TColor space,
             TColor textColour) {
    constexpr int modul = 2, height = 50, quiet = 10 * modul;
    const TBarSymbol symbol = Z_EncodeBar(sample.Type, sample.Data, modul, 2.0, csNone);
    TBitmap bitmap(Z_GetCanvasHeight(symbol, height, 0) + 2 * quiet,
                   Z_GetCanvasWidth(symbol, height, 0) + 2 * quiet);
    bitmap.Canvas().Brush.SetColor(space);
    bitmap.Canvas().FillRect({0, 0, bitmap.Width(), bitmap.Height()});
    TFont font;
    font.Color = textColour;
    Z_DrawBar(bitmap.Canvas(), symbol, quiet, quiet, height, font, text, tpBottomCenter, bar, space,
              space, 0);
    return bitmap;
}

TEST(PngPixels, EverySymbolComesBackExactly) {
    constexpr int grey = 0, palette = 3, anyDepth = -1;
    const struct {
        TTextShow text;
        TColor bar, space, font;
        test::PngHeader expected;
    } looks[] = {
        {tsNone, clBlack, clWhite, clBlack, {grey, 1}},
        {tsBarCode, clBlack, clWhite, clBlack, {grey, anyDepth}},
        {tsNone, clNavy, clYellow, clRed, {palette, 1}},
        {tsBoth, clNavy, clYellow, clRed, {palette, anyDepth}},
    };
    for (const auto& sample : test::SymbolSamples)
        for (const auto& look : looks) {
            SCOPED_TRACE(::testing::Message()
                         << sample.Name << " text " << int{look.text} << " bars " << look.bar);
            const TBitmap drawn = Draw(sample, look.text, look.bar, look.space, look.font);
            const std::string png = drawn.Encode(TImageFormat::Png);
            test::PngHeader header = test::ReadPngHeader(png);
            if (look.expected.Depth == anyDepth) header.Depth = anyDepth;
            EXPECT_EQ(header, look.expected);
            TBitmap decoded;
            decoded.LoadFromMemory(png);
            EXPECT_TRUE(test::SamePixels(decoded, drawn));
        }
}

}  // namespace
}  // namespace ribbon
