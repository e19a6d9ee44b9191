// Text on the canvas: face matching, measuring, and opaque text turned by the escapement.

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "base/Exceptions.h"
#include "graphics/Bitmap.h"

namespace ribbon {
namespace {

constexpr TColor Paper = RGB(200, 200, 200);

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // inclusive
    bool operator==(const Box&) const = default;
};

Box BoxOf(TCanvas& c, TColor color) {
    Box b;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x)
            if (c.Pixel(x, y) == color) {
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, y);
                b.bottom = std::max(b.bottom, y);
            }
    return b;
}

std::ostream& operator<<(std::ostream& os, const Box& b) {
    return os << "[" << b.left << ".." << b.right << "] x [" << b.top << ".." << b.bottom << "]";
}

TEST(Fonts, FaceNamesMapToAnInstalledFaceOfTheNearestFamily) {
    struct Case {
        const char* name;
        const char* family;
    };
    const Case cases[] = {
        {"Courier", "Liberation Mono"},
        {"Courier New", "Liberation Mono"},
        {"Ms Sans Serif", "Liberation Sans"},
        {"Arial", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"},
        {"Tahoma", "DejaVu Sans"},
        {"Verdand", "DejaVu Sans"},
        {"  verdana ", "DejaVu Sans"},
        {"Impact", "DejaVu Sans Condensed"},
        {"", "DejaVu Sans"},
        {"DejaVu Serif", "DejaVu Serif"},
    };
    for (const Case& c : cases) {
        TLogFont lf;
        lf.FaceName = c.name;
        EXPECT_EQ(CreateFontIndirect(lf)->FamilyName(), c.family) << c.name;
    }
    // A new font has a face that exists; so does a name nobody has installed.
    EXPECT_EQ(CreateFontIndirect(TFont().LogFont(96))->FamilyName(), "DejaVu Sans");
    TLogFont unknown;
    unknown.FaceName = "No Such Face 42";
    EXPECT_FALSE(CreateFontIndirect(unknown)->FamilyName().empty());
}

TEST(Fonts, StylesPickTheBoldAndItalicFaces) {
    TFont f;
    f.Name = "Courier New";
    f.Style = {fsBold, fsItalic};
    const auto handle = CreateFontIndirect(f.LogFont(96));
    EXPECT_EQ(handle->StyleName(), "Bold Italic");
    const TLogFont lf = f.LogFont(96);
    EXPECT_EQ(lf.Weight, FW_BOLD);
    EXPECT_TRUE(lf.Italic);
    EXPECT_FALSE(lf.Underline);
}

TEST(Fonts, SizeIsInPointsAtTheCanvasResolution) {
    TFont f;
    f.Size = 10;
    EXPECT_EQ(f.LogFont(96).Height, -13);   // 13.33 pixels
    EXPECT_EQ(f.LogFont(600).Height, -83);  // 83.33
    f.Size = 9;
    EXPECT_EQ(f.LogFont(96).Height, -12);
    f.Size = 3;
    EXPECT_EQ(f.LogFont(96).Height, -4);

    TPixelBuffer screen, printer;
    TCanvas onScreen(screen), onPrinter(printer, 600);
    onScreen.Font = f;
    onPrinter.Font = f;
    onScreen.Font.Size = onPrinter.Font.Size = 12;
    const int s = onScreen.TextWidth("ribbon 123"), p = onPrinter.TextWidth("ribbon 123");
    EXPECT_NEAR(p, s * 600.0 / 96.0, s * 600.0 / 96.0 * 0.06);
}

TEST(Fonts, TextHeightIsTheCellWithItsInternalLeading) {
    for (const char* face : {"DejaVu Sans", "Liberation Mono", "Liberation Serif"}) {
        TLogFont lf;
        lf.FaceName = face;
        lf.Height = -20;
        const auto font = CreateFontIndirect(lf);
        EXPECT_EQ(font->Height(), font->Ascent() + font->Descent());
        EXPECT_GT(font->InternalLeading(), 0) << face;
        EXPECT_EQ(font->TextExtent("Hg").cy, font->Height());
        // A positive height asks for the cell itself.
        lf.Height = font->Height();
        EXPECT_NEAR(CreateFontIndirect(lf)->Height(), font->Height(), 1) << face;
    }
}

TEST(Fonts, TextWidthIsTheSumOfTheAdvances) {
    TPixelBuffer none;
    TCanvas c(none);
    c.Font.Name = "Liberation Mono";
    c.Font.Size = 12;
    EXPECT_EQ(c.TextWidth(""), 0);
    const int one = c.TextWidth("0");
    EXPECT_GT(one, 0);
    EXPECT_EQ(c.TextWidth("0123456789"), 10 * one);  // monospaced
    c.Font.Name = "DejaVu Sans";
    EXPECT_EQ(c.TextWidth("Code39 123"),
              c.TextWidth("Code39") + c.TextWidth(" ") + c.TextWidth("123"));
    EXPECT_LT(c.TextWidth("iiii"), c.TextWidth("WWWW"));
    const int regular = c.TextWidth("Barcode");
    c.Font.Style = {fsBold};
    EXPECT_GT(c.TextWidth("Barcode"), regular);
    c.Font.Size = 24;
    EXPECT_GT(c.TextWidth("Barcode"), 1.7 * regular);
}

TEST(Text, IsWrittenOpaqueFromTheTopLeftOfItsFirstCell) {
    TBitmap b(120, 120);
    TCanvas& c = b.Canvas();
    c.Brush.SetColor(Paper);
    c.FillRect({0, 0, 120, 120});
    c.Font.Size = 14;
    c.Font.Color = clBlue;
    const std::string text = "8080";
    const TSize size = c.TextExtent(text);
    c.Brush.SetColor(clRed);
    c.TextOut(30, 40, text);
    // The cell rows above and below the digits are pure brush colour, so the red box is the cell.
    EXPECT_EQ(BoxOf(c, clRed), (Box{30, 40, 30 + size.cx - 1, 40 + size.cy - 1}));
    // Glyphs in the font colour, inside the cell.
    const Box ink = BoxOf(c, clBlue);
    EXPECT_GE(ink.left, 30);
    EXPECT_LE(ink.right, 30 + size.cx - 1);
    EXPECT_GT(ink.bottom, ink.top);
    // Nothing outside the cell.
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 120; ++x) {
            if (x < 30 || x >= 30 + size.cx || y < 40 || y >= 40 + size.cy) {
                ASSERT_EQ(c.Pixel(x, y), Paper) << x << "," << y;
            }
        }

    // A clear brush writes the glyphs alone.
    TBitmap t(120, 120);
    t.Canvas().Brush.SetColor(Paper);
    t.Canvas().FillRect({0, 0, 120, 120});
    t.Canvas().Font = c.Font;
    t.Canvas().Brush.SetStyle(bsClear);
    t.Canvas().TextOut(30, 40, text);
    EXPECT_EQ(BoxOf(t.Canvas(), clRed), Box{});
    EXPECT_EQ(BoxOf(t.Canvas(), clBlue), ink);
}

TEST(Text, TurnsWithTheEscapementOfTheSelectedFont) {
    // The cell turns about its reference point (X, Y), counter-clockwise on the screen.
    struct Case {
        int tenths;
        Box (*cell)(int x, int y, int tw, int th);
    };
    const Case cases[] = {
        {0,
         [](int x, int y, int tw, int th) {
             return Box{x, y, x + tw - 1, y + th - 1};
         }},
        {900,
         [](int x, int y, int tw, int th) {
             return Box{x, y - tw, x + th - 1, y - 1};
         }},
        {1800,
         [](int x, int y, int tw, int th) {
             return Box{x - tw, y - th, x - 1, y - 1};
         }},
        {2700,
         [](int x, int y, int tw, int th) {
             return Box{x - th, y, x - 1, y + tw - 1};
         }},
    };
    for (const Case& k : cases) {
        TBitmap b(160, 160);
        TCanvas& c = b.Canvas();
        c.Brush.SetColor(Paper);
        c.FillRect({0, 0, 160, 160});
        c.Font.Size = 12;
        c.Font.Color = clBlue;
        const TSize size = c.TextExtent("3030");
        TLogFont lf = c.CurrentLogFont();
        lf.Escapement = lf.Orientation = k.tenths;
        const auto turned = CreateFontIndirect(lf);
        const TFontHandle* previous = c.SelectFont(turned.get());
        EXPECT_EQ(previous, nullptr);
        EXPECT_EQ(c.CurrentLogFont().Escapement, k.tenths);
        c.Brush.SetColor(clRed);
        c.TextOut(80, 80, "3030");
        EXPECT_EQ(c.SelectFont(previous), turned.get());
        EXPECT_EQ(c.CurrentLogFont().Escapement, 0);
        EXPECT_EQ(BoxOf(c, clRed), k.cell(80, 80, size.cx, size.cy)) << k.tenths;
        EXPECT_NE(BoxOf(c, clBlue), Box{}) << k.tenths;
    }
}

TEST(Text, ThreadsWritingAtOnceGetTheSamePixels) {
    auto render = [](std::vector<std::uint8_t>& out) {
        for (int round = 0; round < 20; ++round) {
            TBitmap b(200, 60);
            b.Canvas().Font.Name = round % 2 ? "Courier" : "Tahoma";
            b.Canvas().Font.Size = 10 + round % 5;
            TLogFont lf = b.Canvas().CurrentLogFont();
            lf.Escapement = lf.Orientation = 50 * round;
            const auto font = CreateFontIndirect(lf);
            b.Canvas().SelectFont(font.get());
            b.Canvas().TextOut(60, 30, "Barcode 0123456789");
            b.Canvas().SelectFont(nullptr);
            for (int y = 0; y < 60; ++y) out.insert(out.end(), b.ScanLine(y), b.ScanLine(y) + 600);
        }
    };
    std::vector<std::uint8_t> alone;
    render(alone);
    std::vector<std::vector<std::uint8_t>> results(4);
    std::vector<std::thread> threads;
    for (auto& r : results) threads.emplace_back(render, std::ref(r));
    for (auto& t : threads) t.join();
    for (const auto& r : results) EXPECT_TRUE(r == alone);
}

}  // namespace
}  // namespace ribbon
