// The C interface against the library: results as the C++ engine gives them, sizes reported
// for short buffers, the caller's pixels kept outside the symbol, errors as statuses.

#include <gtest/gtest.h>
#include <ribbonkit/ribbonkit.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/Encoders.h"
#include "engine/ZBarCode.h"

namespace {

TEST(CInterface, EncodeGivesTheEnginesPatternTextAndWidths) {
    const int mod = 2;
    const double ratio = 2.5;
    const int widthCpp =
        ribbon::Z_GetBarWidth(ribbon::bcCodeUPC_A, "01234567890", mod, ratio, ribbon::csModulo10);
    size_t patternSize = 0, textSize = 0;
    EXPECT_EQ(ribbonkit_encode(ribbon::bcCodeUPC_A, "01234567890", mod, ratio, 1, nullptr,
                               &patternSize, nullptr, &textSize, nullptr),
              RIBBONKIT_BUFFER_TOO_SMALL)
        << ribbonkit_last_error();
    std::string pattern(patternSize, '?'), text(textSize, '?');
    int widths[4] = {};
    ASSERT_EQ(ribbonkit_encode(ribbon::bcCodeUPC_A, "01234567890", mod, ratio, 1, pattern.data(),
                               &patternSize, text.data(), &textSize, widths),
              RIBBONKIT_OK)
        << ribbonkit_last_error();
    EXPECT_EQ(widths[0], mod);
    const ribbon::TBarSymbol symbol =
        ribbon::EncodeBar(ribbon::bcCodeUPC_A, "01234567890", mod, ratio, ribbon::csModulo10);
    const ribbon::TBarWidths& w = symbol.Widths;
    EXPECT_EQ(pattern.c_str(), symbol.Pattern);
    EXPECT_EQ(text.c_str(), symbol.Text);  // with the check digit the encoder added
    EXPECT_EQ((std::vector<int>{widths, widths + 4}),
              (std::vector<int>{w.Width0, w.Width1, w.Width2, w.Width3}));
    int measured = 0;
    ASSERT_EQ(ribbonkit_measure(ribbon::bcCodeUPC_A, "01234567890", mod, ratio, 1, 50, 0, &measured,
                                nullptr, nullptr),
              RIBBONKIT_OK);
    EXPECT_EQ(measured, widthCpp);
}

TEST(CInterface, ErrorsAreStatusesWithTheEnginesMessage) {
    struct Case {
        int Type;
        const char* Data;
        int CheckSum;
        ribbonkit_status Status;
        const char* Message;
    };
    const Case cases[] = {
        {ribbon::bcCode93, "ab", 0, RIBBONKIT_REJECTED, "ab : Code_93 bad data."},
        {23, "1", 0, RIBBONKIT_INVALID_ARGUMENT, "Unknown symbology: type must be 0..22."},
        {ribbon::bcCode39, "A", 2, RIBBONKIT_INVALID_ARGUMENT, "checksum must be 0 or 1."},
        {ribbon::bcCode39, nullptr, 0, RIBBONKIT_INVALID_ARGUMENT, "data must not be NULL."},
    };
    for (const Case& c : cases) {
        int width = -1;
        EXPECT_EQ(
            ribbonkit_measure(c.Type, c.Data, 1, 2.0, c.CheckSum, 50, 0, &width, nullptr, nullptr),
            c.Status);
        EXPECT_STREQ(ribbonkit_last_error(), c.Message);
        EXPECT_EQ(width, -1);
    }
    int width = 0;
    EXPECT_EQ(ribbonkit_measure(ribbon::bcCode39, "A", 1, 2.0, 0, 50, 0, &width, nullptr, nullptr),
              RIBBONKIT_OK);
    EXPECT_STREQ(ribbonkit_last_error(), "");
}

TEST(CInterface, RenderRgbDrawsOnlyInsideTheSymbolBox) {
    ribbonkit_drawing d;
    ribbonkit_drawing_init(&d);
    d.type = ribbon::bcCode39;
    d.data = "AB";
    d.left = 5;
    d.top = 4;
    d.height = 10;
    const int barWidth = ribbon::Z_GetBarWidth(ribbon::bcCode39, "AB", 1, 2.0, ribbon::csNone);
    const int width = barWidth + 20, height = 20, stride = width * 3 + 5;
    std::vector<uint8_t> rgb(static_cast<size_t>(stride) * height, 0x80);
    ASSERT_EQ(ribbonkit_render_rgb(&d, rgb.data(), width, height, stride), RIBBONKIT_OK)
        << ribbonkit_last_error();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < stride; ++x) {
            const uint8_t v = rgb[static_cast<size_t>(y) * stride + x];
            const int px = x / 3;
            // A bar covers both its corner columns and rows.
            const bool inBox = x < width * 3 && px >= 5 && px <= 5 + barWidth && y >= 4 && y <= 14;
            if (!inBox) {
                ASSERT_EQ(v, 0x80) << "outside the box at " << x << "," << y;
            }
        }
    EXPECT_EQ(rgb[4 * stride + 5 * 3], 0);  // Code 39 starts with a bar
    EXPECT_EQ(ribbonkit_render_rgb(&d, rgb.data(), width, height, width * 3 - 1),
              RIBBONKIT_INVALID_ARGUMENT);
}

// Each format by its extension; a file that cannot be written is a file error that leaves
// nothing behind.
TEST(CInterface, RenderFileWritesEachFormatOrNothing) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "ribbonkit-c-test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    ribbonkit_drawing d;
    ribbonkit_drawing_init(&d);
    d.type = ribbon::bcCodeEAN8;
    d.data = "1234567";
    d.checksum = 1;
    struct Case {
        const char* Name;
        const char* Magic;
    };
    for (const Case& c : {Case{"a.png", "\x89PNG"}, Case{"a.svg", "<?xml"}, Case{"a.pdf", "%PDF"},
                          Case{"a.jpg", "\xFF\xD8"}, Case{"a.bmp", "BM"}}) {
        const std::string path = (dir / c.Name).string();
        ASSERT_EQ(ribbonkit_render_file(&d, path.c_str()), RIBBONKIT_OK) << ribbonkit_last_error();
        std::ifstream in(path, std::ios::binary);
        std::string head(std::string(c.Magic).size(), '\0');
        in.read(head.data(), static_cast<std::streamsize>(head.size()));
        EXPECT_EQ(head, c.Magic) << c.Name;
    }
    const std::string missing = (dir / "no-such-dir" / "a.pdf").string();
    EXPECT_EQ(ribbonkit_render_file(&d, missing.c_str()), RIBBONKIT_FILE_ERROR);
    EXPECT_EQ(ribbonkit_render_file(&d, (dir / "a.gif").string().c_str()), RIBBONKIT_REJECTED);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 5);
    std::filesystem::remove_all(dir);
}

}  // namespace
