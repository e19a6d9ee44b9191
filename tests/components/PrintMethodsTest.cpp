// TBarCode's printing methods forward to the engine with its settings; the measuring pair is
// crossed.

#include <gtest/gtest.h>

#include "base/Exceptions.h"
#include "components/pBarCode.h"
#include "vector/Printer.h"

namespace ribbon {
namespace {

TEST(BarCodePrinting, MethodsForwardWithTheControlsSettingsAndCrossTheCanvasPair) {
    Printer().Abort();
    Printer().SetResolution(600, 1200);  // unequal, so that a crossed pair shows
    TBarCode bar(nullptr);
    bar.SetBarType(bcCode128B);
    bar.SetBarcode("Print-1");
    bar.SetRatio(2.5);
    const double modul = 0.3, height = 15;
    EXPECT_EQ(bar.GetPrnBarWidth(utMillimeter, modul),
              Z_GetPrnBarWidth(utMillimeter, bcCode128B, "Print-1", modul, 2.5, csNone));
    for (double angle : {0.0, 30.0}) {
        const double engineWidth = Z_PrnCanvasWidth(utMillimeter, bcCode128B, "Print-1", modul, 2.5,
                                                    csNone, height, angle);
        const double engineHeight = Z_PrnCanvasHeight(utMillimeter, bcCode128B, "Print-1", modul,
                                                      2.5, csNone, height, angle);
        EXPECT_EQ(bar.GetPrnCanvasHeight(utMillimeter, height, modul, angle), engineWidth);
        EXPECT_EQ(bar.GetPrnCanvasWidth(utMillimeter, height, modul, angle), engineHeight);
        EXPECT_NE(engineWidth, engineHeight);
    }
    EXPECT_EQ(bar.GetPrnCanvasWidth(utInch, height, modul),
              bar.GetPrnCanvasWidth(utInch, height, modul, bar.GetAngle()));
    EXPECT_THROW(bar.Print(utMillimeter, 10, 10, height, modul), Exception);  // no job begun
}

}  // namespace
}  // namespace ribbon
