// Bitmaps and their files: PNG and BMP survive a round trip exactly, JPEG closely; errors
// carry a message.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "base/Exceptions.h"
#include "graphics/Bitmap.h"
#include "tests/ErrorOf.h"

namespace ribbon {
namespace {

std::string TempName(const std::string& extension) {
    static int n = 0;
    return "/tmp/ribbon-bitmap-test-" + std::to_string(getpid()) + "-" + std::to_string(n++) +
           extension;
}

// A picture with detail in every channel, and sizes whose rows need BMP padding.
TBitmap Sample(int w, int h) {
    TBitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.Canvas().SetPixel(
                x, y,
                RGB(static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 5),
                    static_cast<std::uint8_t>((x + y) * 3)));
    return b;
}

double MeanDifference(TBitmap& a, TBitmap& b) {
    double sum = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width() * 3; ++x)
            sum += std::abs(a.ScanLine(y)[x] - b.ScanLine(y)[x]);
    return sum / (a.Width() * a.Height() * 3);
}

TEST(Bitmap, PngAndBmpFilesComeBackExactly) {
    for (const char* ext : {".png", ".bmp", ".PNG"}) {
        for (auto [w, h] : {std::pair{1, 1}, {3, 2}, {5, 7}, {64, 33}}) {
            TBitmap original = Sample(w, h);
            const std::string name = TempName(ext);
            original.SaveToFile(name);
            TBitmap loaded;
            loaded.LoadFromFile(name);
            std::remove(name.c_str());
            ASSERT_EQ(loaded.Width(), w);
            ASSERT_EQ(loaded.Height(), h);
            EXPECT_EQ(MeanDifference(original, loaded), 0.0) << ext << " " << w << "x" << h;
        }
    }
}

TEST(Bitmap, JpegHonoursQualityAndProgressiveEncoding) {
    TBitmap picture = Sample(120, 80);
    auto encoded = [&](int quality, bool progressive,
                       TJPEGPerformance performance = jpBestQuality) {
        TJPEGOptions o;
        o.CompressionQuality = quality;
        o.ProgressiveEncoding = progressive;
        o.Performance = performance;
        return picture.Encode(TImageFormat::Jpeg, o);
    };
    const std::string best = encoded(95, false), small = encoded(20, false);
    EXPECT_LT(small.size(), best.size());
    // Start-of-frame markers: baseline C0, progressive C2.
    EXPECT_NE(best.find("\xFF\xC0"), std::string::npos);
    EXPECT_EQ(best.find("\xFF\xC2"), std::string::npos);
    EXPECT_NE(encoded(90, true).find("\xFF\xC2"), std::string::npos);
    EXPECT_FALSE(encoded(90, false, jpBestSpeed).empty());
    EXPECT_FALSE(encoded(0, false).empty());  // quality clamped to 1..100
    EXPECT_FALSE(encoded(500, false).empty());

    TBitmap decoded;
    decoded.LoadFromMemory(best);
    ASSERT_EQ(decoded.Width(), 120);
    EXPECT_LT(MeanDifference(picture, decoded), 8.0);  // a channel mix-up would be far above
}

TEST(Bitmap, ResizingKeepsThePixelsThatStayInside) {
    TBitmap b = Sample(10, 10);
    const TColor kept = b.Canvas().Pixel(3, 4);
    b.SetSize(20, 5);
    EXPECT_EQ(b.Canvas().Pixel(3, 4), kept);
    EXPECT_EQ(b.Canvas().Pixel(15, 2), clWhite);
    EXPECT_EQ(b.Canvas().Pixel(3, 7), 0xFFFFFFFFu);

    // Height first, then width, from an empty bitmap: the form's order of steps.
    TBitmap grown;
    grown.SetHeight(200);
    grown.SetWidth(500);
    EXPECT_EQ(grown.Width(), 500);
    EXPECT_EQ(grown.Canvas().Pixel(499, 199), clWhite);
}

TEST(Bitmap, MistakesRaiseErrorsWithMessages) {
    const auto message = [](const std::function<void()>& fn) { return test::ErrorOf(fn); };
    EXPECT_EQ(message([] { TBitmap(-1, 5); }),
              "A picture of -1 x 5 pixels is out of range (each side at most 65535, at most "
              "67108864 pixels).");
    EXPECT_EQ(message([] { TBitmap(20000, 20000); }),
              "A picture of 20000 x 20000 pixels is out of range (each side at most 65535, at most "
              "67108864 pixels).");
    EXPECT_EQ(message([] { TBitmap().LoadFromFile("/nonexistent/Back.bmp"); }),
              "Cannot open file \"/nonexistent/Back.bmp\". No such file or directory");
    EXPECT_EQ(message([] { TBitmap(2, 2).SaveToFile("/nonexistent/out.png"); }),
              "Cannot create file \"/nonexistent/out.png\". No such file or directory");
    EXPECT_EQ(message([] { TBitmap(2, 2).SaveToFile("/tmp/out.gif"); }),
              "Unknown picture file extension '.gif' in \"/tmp/out.gif\" (use .png, .jpg, .jpeg or "
              ".bmp).");
    EXPECT_EQ(message([] { TBitmap().SaveToFile(TempName(".png")); }),
              "Cannot encode the picture: it is empty");

    const std::string garbage = TempName(".bmp");
    std::ofstream(garbage) << "BM this is not a bitmap";
    EXPECT_EQ(
        message([&] { TBitmap().LoadFromFile(garbage); }).rfind("Cannot read the picture: ", 0),
        0u);
    std::remove(garbage.c_str());
    // A truncated file of a real format is refused, not read past its end.
    const std::string png = Sample(30, 30).Encode(TImageFormat::Png);
    EXPECT_NE(message([&] { TBitmap().LoadFromMemory(std::string_view(png).substr(0, 60)); }),
              "<no error>");
}

}  // namespace
}  // namespace ribbon
