// RLE8 and RLE4 bitmaps read as ImageMagick reads them (its uncompressed copies lie beside them
// in bmp/), and broken ones refused with a message.

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "base/Exceptions.h"
#include "graphics/Bitmap.h"

namespace ribbon {
namespace {

std::string Fixture(const std::string& name) {
    std::ifstream in(std::string(RIBBON_TEST_BMP_DIR) + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string ErrorOf(const std::string& file) {
    try {
        TBitmap().LoadFromMemory(file);
    } catch (const Exception& e) {
        return e.Message;
    }
    return "<no error>";
}

TEST(BmpRle, ReadsAsImageMagickDoes) {
    // rle8 is ImageMagick's own file; the others use delta codes, skipped rows and odd runs.
    for (const char* name : {"rle8", "rle8-delta", "rle4"}) {
        TBitmap rle, plain;
        rle.LoadFromMemory(Fixture(std::string(name) + ".bmp"));
        plain.LoadFromMemory(Fixture(std::string(name) + "-expected.bmp"));
        ASSERT_EQ(rle.Width(), plain.Width()) << name;
        ASSERT_EQ(rle.Height(), plain.Height()) << name;
        for (int y = 0; y < rle.Height(); ++y)
            ASSERT_EQ(0, std::memcmp(rle.ScanLine(y), plain.ScanLine(y), rle.Width() * 3u))
                << name << " row " << y;
    }
}

TEST(BmpRle, BrokenFilesAreRefused) {
    const std::string rle4 = Fixture("rle4.bmp");
    const auto patched = [&](std::size_t at, std::string bytes) {
        return std::string(rle4).replace(at, bytes.size(), bytes);
    };
    const struct {
        std::string file, error;
    } cases[] = {
        {rle4.substr(0, 54 + 30), "Cannot read the picture: the palette is cut off"},
        {rle4.substr(0, 54 + 64 + 5), "Cannot read the picture: the compressed pixels end early"},
        {patched(28, std::string("\x08\x00", 2)),
         "Cannot read the picture: RLE4 with 8 bits per pixel"},
        {patched(22, std::string(4, '\0')),
         "Cannot read the picture: a size of 13 x 0 pixels is invalid"},
        {patched(18, std::string("\x00\x00\x01\x00", 4)),
         "Cannot read the picture: a picture of 65536 x 6 pixels is too large"},
        {patched(10, std::string("\xff\x00\x00\x00", 4)),
         "Cannot read the picture: the pixel offset is out of the file"},
    };
    for (const auto& c : cases) EXPECT_EQ(ErrorOf(c.file), c.error);
}

}  // namespace
}  // namespace ribbon
