// Writes the default "Back.bmp": a 500 x 200, 24-bit Windows bitmap, white with a light grey
// one-pixel frame, so a fresh install shows a barcode on the first "View".

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.bmp\n", argv[0]);
        return 2;
    }
    constexpr int width = 500, height = 200;
    constexpr int rowBytes = (width * 3 + 3) / 4 * 4;
    constexpr std::uint32_t pixelBytes = rowBytes * height, headerBytes = 14 + 40;

    std::vector<std::uint8_t> bmp;
    bmp.push_back('B');
    bmp.push_back('M');
    Put32(bmp, headerBytes + pixelBytes);
    Put32(bmp, 0);
    Put32(bmp, headerBytes);
    Put32(bmp, 40);  // BITMAPINFOHEADER
    Put32(bmp, width);
    Put32(bmp, height);  // positive: rows bottom-up
    Put16(bmp, 1);
    Put16(bmp, 24);
    Put32(bmp, 0);  // no compression
    Put32(bmp, pixelBytes);
    Put32(bmp, 3780);  // 96 dpi
    Put32(bmp, 3780);
    Put32(bmp, 0);
    Put32(bmp, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bool frame = x == 0 || y == 0 || x == width - 1 || y == height - 1;
            std::uint8_t level = frame ? 0xC0 : 0xFF;
            bmp.insert(bmp.end(), {level, level, level});
        }
        bmp.resize(bmp.size() + (rowBytes - width * 3), 0);
    }

    FILE* file = std::fopen(argv[1], "wb");
    if (!file || std::fwrite(bmp.data(), 1, bmp.size(), file) != bmp.size() ||
        std::fclose(file) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
