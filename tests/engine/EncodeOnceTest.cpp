// Z_EncodeBar: the one encoding that measuring and drawing share carries what each of them
// needs, so that a caller gets the same symbol from it as from the calls that take the data.

#include <gtest/gtest.h>

#include "engine/ZBarCode.h"
#include "graphics/Bitmap.h"
#include "tests/ErrorOf.h"

namespace ribbon {
namespace {

TEST(EncodeOnce, CarriesTheClampedRatioTheShownTextAndTheLength) {
    struct Case {
        TBarType type;
        const char* data;
        double ratio;
        TCheckSum checkSum;
        double clamped;
        const char* text;
    } cases[] = {
        {bcCode39, "AB", 9.0, csNone, 3.0, "AB"},
        {bcCodeCodabar, "123", 1.0, csNone, 2.0, "123"},
        {bcCode128B, "x", 9.0, csNone, 9.0, "x"},
        {bcCode128C, "12345", 2.0, csNone, 2.0, "012345"},
        {bcCodeEAN128C, "123", 2.0, csNone, 2.0, "0123"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data);
        const TBarSymbol s = Z_EncodeBar(c.type, c.data, 2, c.ratio, c.checkSum);
        EXPECT_EQ(s.Ratio, c.clamped);
        EXPECT_EQ(s.Text, c.text);
        EXPECT_EQ(s.Length, Z_GetBarWidth(c.type, c.data, 2, c.ratio, c.checkSum));
        EXPECT_EQ(Z_GetCanvasWidth(s, 40, 30),
                  Z_GetCanvasWidth(c.type, c.data, 2, c.ratio, c.checkSum, 40, 30));
        EXPECT_EQ(Z_GetCanvasHeight(s, 40, 30),
                  Z_GetCanvasHeight(c.type, c.data, 2, c.ratio, c.checkSum, 40, 30));

        TBitmap once(300, 200), twice(300, 200);
        const TFont font;
        Z_DrawBar(once.Canvas(), s, 5, 5, 40, font, tsBoth, tpTopCenter, clBlack, clWhite, clRed,
                  30);
        Z_DrawBar(twice.Canvas(), c.type, c.data, 2, c.ratio, c.checkSum, 5, 5, 40, font, tsBoth,
                  tpTopCenter, clBlack, clWhite, clRed, 30);
        EXPECT_EQ(once.Encode(TImageFormat::Bmp), twice.Encode(TImageFormat::Bmp));
    }
}

TEST(EncodeOnce, RefusesWhatTheMeasuresRefuse) {
    for (auto [type, data] : {std::pair{bcCodeEAN13, "12A"}, std::pair{bcCode93, "ab"}}) {
        EXPECT_EQ(test::ErrorOf([&] { Z_EncodeBar(type, data, 1, 2.0, csNone); }, ""),
                  test::ErrorOf([&] { Z_GetBarWidth(type, data, 1, 2.0, csNone); }, ""));
        EXPECT_NE(test::ErrorOf([&] { Z_EncodeBar(type, data, 1, 2.0, csNone); }, ""), "");
    }
}

}  // namespace
}  // namespace ribbon
