#include <gtest/gtest.h>

#include "engine/ZBarCode.h"
#include "tests/engine/EngineTestUtil.h"

namespace ribbon {
namespace {

using test::ErrorOf;

TEST(Measure, BarWidthIsTheSumOfTheElementWidths) {
    // "AB" in Code 93: start, A, B, C, K, stop and termination bar: 5 x 9 + 10 modules.
    EXPECT_EQ(Z_GetBarWidth(bcCode93, "AB", 1, 2.0, csNone), 55);
    EXPECT_EQ(Z_GetBarWidth(bcCode93, "AB", 3, 2.0, csNone), 165);
    EXPECT_EQ(Z_GetBarWidth(bcCode93, "", 1, 2.0, csNone), 37);
    EXPECT_EQ(Z_GetBarWidth(bcCode93, "AB", 0, 2.0, csNone), 0);
    // Code 39 "1": 20 narrow and 9 wide elements.
    EXPECT_EQ(Z_GetBarWidth(bcCode39, "1", 5, 3.0, csNone), 20 * 5 + 9 * 15);
}

TEST(Measure, TheCallersRatioIsNotChanged) {
    const double ratio = 9.0;
    EXPECT_EQ(Z_GetBarWidth(bcCode39, "1", 1, ratio, csNone), 47);  // used as 3.0
    EXPECT_EQ(ratio, 9.0);
}

TEST(Measure, CanvasExtentsAddHalfBeforeRounding) {
    // Code 39 "1" at Modul 5, Ratio 2: W = 190. Width pairs W with the sine and the height with
    // the cosine; height the other way round.
    EXPECT_EQ(Z_GetCanvasWidth(bcCode39, "1", 5, 2.0, csNone, 50, 0), 50);    // Round(50.5)
    EXPECT_EQ(Z_GetCanvasWidth(bcCode39, "1", 5, 2.0, csNone, 51, 0), 52);    // Round(51.5)
    EXPECT_EQ(Z_GetCanvasHeight(bcCode39, "1", 5, 2.0, csNone, 50, 0), 190);  // Round(190.5)
    // Code 93 "" is 37 long: an odd whole sum rounds up.
    EXPECT_EQ(Z_GetCanvasHeight(bcCode93, "", 1, 2.0, csNone, 50, 0), 38);
    // 30 degrees: Round(190 * 0.5 + 50 * 0.866 + 0.5) = Round(138.80) = 139 and
    // Round(190 * 0.866 + 50 * 0.5 + 0.5) = Round(190.05) = 190.
    EXPECT_EQ(Z_GetCanvasWidth(bcCode39, "1", 5, 2.0, csNone, 50, 30), 139);
    EXPECT_EQ(Z_GetCanvasHeight(bcCode39, "1", 5, 2.0, csNone, 50, 30), 190);
}

TEST(Measure, RightAnglesSwapOrKeepTheExtentsUpToTheRoundingResidue) {
    // The converted angle is not an exact multiple of pi/2, so a zero sine or cosine leaves a
    // residue of about 1e-19 that may push an exact x.5 up by one.
    struct Case {
        double angle;
        int width;  // without residue
        int height;
    };
    const Case cases[] = {
        {90, 190, 50}, {180, 50, 190}, {270, 190, 50}, {360, 50, 190}, {-90, 190, 50}};
    for (const Case& c : cases) {
        const int w = Z_GetCanvasWidth(bcCode39, "1", 5, 2.0, csNone, 50, c.angle);
        const int h = Z_GetCanvasHeight(bcCode39, "1", 5, 2.0, csNone, 50, c.angle);
        EXPECT_TRUE(w == c.width || w == c.width + 1) << c.angle << ": " << w;
        EXPECT_TRUE(h == c.height || h == c.height + 1) << c.angle << ": " << h;
    }
}

TEST(Measure, RefusedDataRaisesTheSameErrorFromEveryMeasure) {
    const std::string expected = "ab : Code_93 bad data.";
    EXPECT_EQ(ErrorOf([] { Z_GetBarWidth(bcCode93, "ab", 1, 2.0, csNone); }), expected);
    EXPECT_EQ(ErrorOf([] { Z_GetCanvasWidth(bcCode93, "ab", 1, 2.0, csNone, 50, 0); }), expected);
    EXPECT_EQ(ErrorOf([] { Z_GetCanvasHeight(bcCode93, "ab", 1, 2.0, csNone, 50, 0); }), expected);
    EXPECT_EQ(ErrorOf([] { Z_GetCanvasHeight(bcCode39, "1", 1, 2.0, csNone, 50, 1.0 / 0.0); }),
              "Invalid floating point operation");
}

TEST(Measure, LengthsBeyond32BitsAreRefused) {
    // 2^28 per wide element: a long symbol overflows 32 bits.
    EXPECT_EQ(ErrorOf([] { Z_GetBarWidth(bcCode39, "HELLO WORLD", 1 << 27, 2.0, csNone); }),
              "Bar width out of range.");
}

}  // namespace
}  // namespace ribbon
