// Two details of the canvas that the drawing relies on: an assigned font wins over a font object
// selected before, and without text the text position is never looked at.

#include <gtest/gtest.h>

#include "engine/ZBarCode.h"
#include "graphics/Bitmap.h"

namespace ribbon {
namespace {

TEST(CanvasDetails, AnAssignedFontMeasuresAndDrawsInsteadOfASelectedOne) {
    TBitmap plain(300, 80), selected(300, 80);
    TFont courier;
    courier.Name = "Courier";
    courier.Size = 20;
    const auto object = CreateFontIndirect(courier.LogFont(96));
    selected.Canvas().SelectFont(object.get());
    ASSERT_NE(selected.Canvas().TextWidth("Hello 123"), plain.Canvas().TextWidth("Hello 123"));

    // The same value as the canvas already holds: assigning it still chooses it.
    selected.Canvas().Font = TFont();
    EXPECT_EQ(selected.Canvas().SelectedFont(), nullptr);
    EXPECT_EQ(selected.Canvas().TextWidth("Hello 123"), plain.Canvas().TextWidth("Hello 123"));

    // Through the drawing: the caller's pre-selected font stays selected afterwards, and the
    // text is the one of the font passed in, pixel for pixel.
    selected.Canvas().SelectFont(object.get());
    for (TBitmap* b : {&plain, &selected})
        Z_DrawBar(b->Canvas(), bcCode39, "123", 2, 2.0, csNone, 10, 10, 50, TFont(), tsBarCode,
                  tpBottomCenter, clBlack, clWhite, clWhite, 0);
    EXPECT_EQ(selected.Canvas().SelectedFont(), object.get());
    int differing = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 300; ++x)
            differing += plain.Canvas().Pixel(x, y) != selected.Canvas().Pixel(x, y);
    EXPECT_EQ(differing, 0);
}

TEST(CanvasDetails, WithoutTextAnyTextPositionDrawsTheBars) {
    TBitmap b(100, 80);
    Z_DrawBar(b.Canvas(), bcCode39, "1", 1, 2.0, csNone, 5, 5, 40, TFont(), tsNone,
              static_cast<TTextPosition>(9), clBlack, clWhite, clWhite, 0);
    EXPECT_EQ(b.Canvas().Pixel(5, 20), clBlack);
}

}  // namespace
}  // namespace ribbon
