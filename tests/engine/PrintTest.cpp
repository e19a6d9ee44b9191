// Printing in millimetres and inches: the printed page read back from the PDF by poppler, the
// printer measures, and what a print job survives (ribbon_engine_print, desktop rules).

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>

#include "base/Exceptions.h"
#include "engine/ZBarCode.h"
#include "graphics/Bitmap.h"
#include "tests/ErrorOf.h"
#include "tests/PdfTools.h"
#include "vector/Printer.h"

namespace ribbon::test {
namespace {

const std::string Ean13 = "590123412345";

std::string PdfName(const std::string& tag) {
    return "/tmp/ribbon-print-test-" + std::to_string(getpid()) + "-" + tag + ".pdf";
}

void SetUpPrinter(int dpiX, int dpiY, TPaperSize paper, const std::string& file) {
    Printer().Abort();
    Printer().SetResolution(dpiX, dpiY);
    Printer().SetPaper(paper);
    Printer().FileName = file;
}

struct PrintCase {
    TUnits units;
    double modul, left, top, height;
    int dpiX, dpiY;
    double angle;
    int pxModul, pxLeft, pxTop, pxHeight;  // what the printer must have drawn with
};

TEST(Print, ThePageHoldsWhatTheRasterCanvasDrawsInPrinterPixels) {
    if (!HaveTool("pdftoppm", "poppler-utils")) return;
    const PrintCase cases[] = {
        {utMillimeter, 0.5, 10, 10, 20, 600, 600, 0, 12, 236, 236, 472},
        {utMillimeter, 0.33, 5, 8, 15, 600, 600, 90, 8, 118, 189, 354},
        {utInch, 0.01, 0.5, 0.25, 0.8, 600, 600, 180, 6, 300, 150, 480},
        {utMillimeter, 0.33, 10, 10, 20, 600, 1200, 0, 8, 236, 472, 945},
        {utMillimeter, 0.5, 3, 4, 10, 300, 300, 270, 6, 35, 47, 118},
    };
    const TPaperSize paper{100, 60};
    for (const PrintCase& c : cases) {
        const std::string pdf = PdfName("raster");
        SetUpPrinter(c.dpiX, c.dpiY, paper, pdf);
        Printer().BeginDoc();
        Z_PrintBar(c.units, bcCodeEAN13, Ean13, c.modul, 2.0, csModulo10, c.left, c.top, c.height,
                   TFont(), tsNone, tpBottomCenter, clBlack, clWhite, clWhite, c.angle);
        Printer().EndDoc();
        TBitmap page = RasterisePdf(pdf, c.dpiX, c.dpiY);
        std::remove(pdf.c_str());

        TBitmap expected(page.Width(), page.Height());
        Z_DrawBar(expected.Canvas(), bcCodeEAN13, Ean13, c.pxModul, 2.0, csModulo10, c.pxLeft,
                  c.pxTop, c.pxHeight, TFont(), tsNone, tpBottomCenter, clBlack, clWhite, clWhite,
                  c.angle);
        ASSERT_GT(page.Width(), c.pxLeft + c.pxHeight) << c.angle;
        int differing = 0, black = 0;
        TRect ink{page.Width(), page.Height(), -1, -1};
        for (int y = 0; y < page.Height(); ++y)
            for (int x = 0; x < page.Width(); ++x) {
                differing += page.Canvas().Pixel(x, y) != expected.Canvas().Pixel(x, y);
                if (page.Canvas().Pixel(x, y) != clBlack) continue;
                ++black;
                ink = {std::min(ink.Left, x), std::min(ink.Top, y), std::max(ink.Right, x + 1),
                       std::max(ink.Bottom, y + 1)};
            }
        EXPECT_GT(black, 0);
        // Z_PrnBarBox gives the lengths drawn with and the engine's measure of the turned box:
        // each side of the ink within the pixel that rounding and the inclusive outline of the
        // bars leave either way.
        const TPrnBarBox box = Z_PrnBarBox(c.units, bcCodeEAN13, Ean13, c.modul, 2.0, csModulo10,
                                           c.left, c.top, c.height, c.angle);
        EXPECT_EQ(box.Modul, c.pxModul);
        EXPECT_EQ(box.BarHeight, c.pxHeight);
        const int gaps[] = {ink.Left - box.Left, ink.Top - box.Top,
                            box.Left + box.Width - ink.Right, box.Top + box.Height - ink.Bottom};
        for (const int gap : gaps) EXPECT_LE(std::abs(gap), 1) << c.angle;
        EXPECT_EQ(differing, 0) << "modul " << c.modul << ", angle " << c.angle << ", " << c.dpiX
                                << "x" << c.dpiY << " dpi";
    }
}

TEST(Print, MeasuresInWholeUnitsWithTheDirectionsOfEachArgument) {
    SetUpPrinter(600, 600, PaperA4, PdfName("unused"));
    // A Code 39 symbol 1000 pixels long at one pixel a module.
    std::string data;
    while (Z_GetBarWidth(bcCode39, data, 1, 2.0, csNone) < 1000) data += 'A';
    ASSERT_EQ(Z_GetBarWidth(bcCode39, data, 1, 2.0, csNone), 1000);
    EXPECT_EQ(Z_GetPrnBarWidth(utMillimeter, bcCode39, data, 0.05, 2.0, csNone), 42.0);
    EXPECT_EQ(Z_GetPrnBarWidth(utInch, bcCode39, data, 0.002, 2.0, csNone), 2.0);

    const auto unknown = static_cast<TUnits>(2);
    EXPECT_EQ(Z_GetPrnBarWidth(unknown, bcCode39, data, 1, 2.0, csNone), -1.0);
    EXPECT_EQ(Z_PrnCanvasWidth(unknown, bcCode39, data, 1, 2.0, csNone, 20, 0), -1.0);
    EXPECT_EQ(Z_PrnCanvasHeight(unknown, bcCode39, data, 1, 2.0, csNone, 20, 0), -1.0);

    // At 600 x 1200 dpi both canvas measures take the 20 mm height as 472 pixels (horizontal);
    // turned by 90 degrees that height is the canvas height, given back vertically: 10 mm.
    Printer().SetResolution(600, 1200);
    EXPECT_EQ(Z_PrnCanvasWidth(utMillimeter, bcCodeEAN13, Ean13, 0.33, 2.0, csModulo10, 20, 0),
              20.0);
    EXPECT_EQ(Z_PrnCanvasHeight(utMillimeter, bcCodeEAN13, Ean13, 0.33, 2.0, csModulo10, 20, 90),
              10.0);
    // 95 modules of 8 pixels, 761 or so pixels long: 32 mm horizontally, 16 mm vertically.
    EXPECT_EQ(Z_PrnCanvasHeight(utMillimeter, bcCodeEAN13, Ean13, 0.33, 2.0, csModulo10, 20, 0),
              16.0);
    EXPECT_EQ(ErrorOf([&] { Z_GetPrnBarWidth(utMillimeter, bcCodeEAN13, "12AB", 0.5, 2, csNone); }),
              "12AB : Barcode must be numeric.");
    EXPECT_EQ(ErrorOf([&] { Z_GetPrnBarWidth(utInch, bcCodeEAN13, Ean13, 1e300, 2, csNone); }),
              "The length 1e+300 is too large for the printer.");
}

TEST(Print, NeedsAJobAndLeavesTheCallersCanvasAndJobAsTheyWere) {
    if (!HaveTool("pdftoppm", "poppler-utils")) return;
    const std::string pdf = PdfName("state");
    SetUpPrinter(300, 300, {80, 40}, pdf);
    auto print = [](const std::string& data) {
        Z_PrintBar(utMillimeter, bcCodeEAN13, data, 0.33, 2.0, csModulo10, 5, 5, 20, TFont(),
                   tsBoth, tpBottomCenter, clBlack, clWhite, clWhite, 30);
    };
    EXPECT_EQ(ErrorOf([&] { print(Ean13); }), "Printer is not currently printing.");
    EXPECT_FALSE(std::filesystem::exists(pdf));

    Printer().BeginDoc();
    TCustomCanvas& canvas = Printer().Canvas();
    TFont font;
    font.Name = "Courier";
    font.Size = 7;
    font.Style = {fsBold};
    canvas.Font = font;
    canvas.Pen.Color = clRed;
    canvas.Pen.Width = 3;
    canvas.Brush.SetColor(clBlue);
    const TPen pen = canvas.Pen;
    const TBrush brush = canvas.Brush;
    print(Ean13);
    Printer().NewPage();
    EXPECT_EQ(ErrorOf([&] { print("12AB"); }), "12AB : Barcode must be numeric.");
    EXPECT_TRUE(Printer().Printing());
    EXPECT_EQ(static_cast<const TFont&>(canvas.Font), font);
    EXPECT_EQ(canvas.Pen, pen);
    EXPECT_EQ(canvas.Brush, brush);
    Printer().EndDoc();

    TBitmap refused = RasterisePdf(pdf, 300, 300, 2);
    ASSERT_GT(refused.Width(), 0);
    int marked = 0;
    for (int y = 0; y < refused.Height(); ++y)
        for (int x = 0; x < refused.Width(); ++x) marked += refused.Canvas().Pixel(x, y) != clWhite;
    EXPECT_EQ(marked, 0) << "the refused data's page";
    std::remove(pdf.c_str());
}

TEST(Print, TextKeepsItsShapeOnPaperWherePrinterPixelsAreNotSquare) {
    const std::string text = "5901234123457";
    std::vector<TSize> extents;
    for (int dpiX : {1200, 600}) {
        SetUpPrinter(dpiX, 1200, {50, 20}, PdfName("aspect"));
        Printer().BeginDoc();
        extents.push_back(Printer().Canvas().TextExtent(text));
        Printer().Abort();
    }
    // As high, and half as many pixels across at half the horizontal resolution.
    EXPECT_EQ(extents[1].cy, extents[0].cy);
    EXPECT_NEAR(extents[1].cx * 2.0 / extents[0].cx, 1.0, 0.02)
        << extents[0].cx << " " << extents[1].cx;
}

// Files in the directory whose names start with the PDF's (the temporary one included).
int Leftovers(const std::string& pdf) {
    const std::filesystem::path p(pdf);
    int n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(p.parent_path()))
        n += entry.path().filename().string().find(p.filename().string()) != std::string::npos;
    return n;
}

TEST(Print, AFileThatCannotBeWrittenIsAClearErrorAndLeavesNothing) {
    SetUpPrinter(600, 600, PaperA4, "/tmp/no-such-dir-" + std::to_string(getpid()) + "/a.pdf");
    const std::string message = ErrorOf([] { Printer().BeginDoc(); });
    EXPECT_NE(message.find("Cannot create the file \"/tmp/no-such-dir-"), std::string::npos)
        << message;
    EXPECT_FALSE(Printer().Printing());

    // A full disk, as the file-size limit makes it: the writes fail partway.
    const std::string pdf = PdfName("full");
    SetUpPrinter(600, 600, PaperA4, pdf);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    Printer().BeginDoc();
    for (int page = 0; page < 3; ++page) {
        if (page > 0) Printer().NewPage();
        Z_PrintBar(utMillimeter, bcCodeEAN13, Ean13, 0.33, 2.0, csModulo10, 10, 10, 20, TFont(),
                   tsBarCode, tpBottomCenter, clBlack, clWhite, clWhite, 0);
    }
    const std::string error = ErrorOf([] { Printer().EndDoc(); });
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_NE(error.find("Cannot write the file \"" + pdf + "\": File too large."),
              std::string::npos)
        << error;
    EXPECT_FALSE(Printer().Printing());
    EXPECT_EQ(Leftovers(pdf), 0);
}

}  // namespace
}  // namespace ribbon::test
