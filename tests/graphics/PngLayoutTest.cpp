// PNG files take the smallest colour type and depth that keep every pixel, and decode to exactly
// the pixels encoded, with rows whose packed bits do not fill their last byte.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "graphics/Bitmap.h"
#include "tests/PngHeader.h"
#include "tests/SamePixels.h"

namespace ribbon {
namespace {

// Colours as 0xRRGGBB, laid out one after another, over and over, 13 pixels a row.
TBitmap Picture(const std::vector<std::uint32_t>& colours) {
    const int width = 13, height = static_cast<int>(colours.size()) / width + 2;
    TBitmap b(width, height);
    for (int i = 0; i < width * height; ++i) {
        const std::uint32_t c = colours[i % colours.size()];
        std::uint8_t* p = b.ScanLine(i / width) + i % width * 3;
        p[0] = static_cast<std::uint8_t>(c >> 16);
        p[1] = static_cast<std::uint8_t>(c >> 8);
        p[2] = static_cast<std::uint8_t>(c);
    }
    return b;
}

std::vector<std::uint32_t> Greys(std::vector<int> levels) {
    std::vector<std::uint32_t> colours;
    for (int l : levels) colours.push_back(static_cast<std::uint32_t>(l) * 0x010101);
    return colours;
}

std::vector<std::uint32_t> Colours(int n) {
    std::vector<std::uint32_t> colours;
    for (int i = 0; i < n; ++i) colours.push_back(static_cast<std::uint32_t>(i) * 0x010203 + 1);
    return colours;
}

TEST(PngLayout, TakesTheSmallestTypeThatKeepsEveryPixel) {
    constexpr int grey = 0, rgb = 2, palette = 3;
    const struct {
        const char* what;
        std::vector<std::uint32_t> colours;
        test::PngHeader expected;
    } cases[] = {
        {"black and white", Greys({0, 255}), {grey, 1}},
        {"one colour", Greys({255}), {grey, 1}},
        {"multiples of 85", Greys({0, 85, 170, 255}), {grey, 2}},
        {"five multiples of 17: 4 bits either way, grey has no palette",
         Greys({0, 17, 34, 238, 255}),
         {grey, 4}},
        {"17 greys, one not a multiple of 17",
         Greys({0, 17, 34, 51, 68, 85, 102, 119, 136, 153, 170, 187, 204, 221, 238, 255, 100}),
         {grey, 8}},
        {"three greys, one needing 8 bits: a 2-bit palette", Greys({0, 100, 255}), {palette, 2}},
        {"navy on yellow", {0x000080, 0xFFFF00}, {palette, 1}},
        {"16 colours", Colours(16), {palette, 4}},
        {"256 colours", Colours(256), {palette, 8}},
        {"257 colours", Colours(257), {rgb, 8}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TBitmap original = Picture(c.colours);
        const std::string png = original.Encode(TImageFormat::Png);
        EXPECT_EQ(test::ReadPngHeader(png), c.expected);
        TBitmap decoded;
        decoded.LoadFromMemory(png);
        EXPECT_TRUE(test::SamePixels(decoded, original));
    }
}

}  // namespace
}  // namespace ribbon
