#include "graphics/BmpRle.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/Exceptions.h"
#include "base/Format.h"

namespace ribbon::detail {

namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::uint32_t BiRle8 = 1, BiRle4 = 2;

[[noreturn]] void Fail(const std::string& why) {
    throw EImageError("Cannot read the picture: " + why);
}

std::uint32_t U32(std::string_view d, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<std::uint8_t>(d[at + i]);
    return v;
}

std::uint16_t U16(std::string_view d, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(d[at]) |
                                      static_cast<std::uint8_t>(d[at + 1]) << 8);
}

// Walks the RLE stream, writing palette indices into a bottom-up index image.
class RleReader {
  public:
    RleReader(std::string_view data, bool four, int width, int height)
        : data_(data),
          four_(four),
          width_(width),
          height_(height),
          index_(static_cast<std::size_t>(width) * height, 0) {}

    std::vector<std::uint8_t> Run() {
        while (y_ < height_) {
            if (at_ + 2 > data_.size()) Fail("the compressed pixels end early");
            const std::uint8_t count = Byte(), value = Byte();
            if (count > 0) {
                for (int i = 0; i < count; ++i) Put(four_ ? Nibble(value, i) : value);
            } else if (value == 0) {  // end of line
                x_ = 0;
                ++y_;
            } else if (value == 1) {  // end of bitmap
                break;
            } else if (value == 2) {  // delta: move right and up
                if (at_ + 2 > data_.size()) Fail("the compressed pixels end early");
                x_ = std::min(x_ + Byte(), width_);
                y_ += Byte();
            } else {  // absolute run of `value` pixels, padded to a 16-bit boundary
                const std::size_t bytes = four_ ? (value + 1u) / 2 : value;
                if (at_ + bytes > data_.size()) Fail("the compressed pixels end early");
                for (int i = 0; i < value; ++i)
                    Put(four_ ? Nibble(static_cast<std::uint8_t>(data_[at_ + i / 2]), i)
                              : static_cast<std::uint8_t>(data_[at_ + i]));
                at_ += bytes + (bytes & 1);
            }
        }
        return std::move(index_);
    }

  private:
    std::uint8_t Byte() { return static_cast<std::uint8_t>(data_[at_++]); }
    static std::uint8_t Nibble(std::uint8_t pair, int i) {
        return i % 2 == 0 ? pair >> 4 : pair & 0x0F;
    }
    // Pixels past the right edge are dropped; the next end-of-line code starts a new row.
    void Put(std::uint8_t value) {
        if (x_ >= width_) return;
        if (y_ < height_) index_[static_cast<std::size_t>(y_) * width_ + x_] = value;
        ++x_;
    }

    std::string_view data_;
    bool four_;
    int width_, height_;
    std::vector<std::uint8_t> index_;
    std::size_t at_ = 0;
    int x_ = 0, y_ = 0;
};

}  // namespace

bool IsRleBmp(std::string_view Data) {
    if (Data.size() < FileHeaderSize + 40 || Data.substr(0, 2) != "BM") return false;
    const std::uint32_t infoSize = U32(Data, FileHeaderSize);
    const std::uint32_t compression = U32(Data, FileHeaderSize + 16);
    // Core headers (12 bytes) have no compression field.
    return infoSize >= 40 && (compression == BiRle8 || compression == BiRle4);
}

void DecodeRleBmp(std::string_view Data, TPixelBuffer& Out) {
    if (!IsRleBmp(Data)) Fail("not an RLE bitmap");
    const std::size_t info = FileHeaderSize;
    const std::uint32_t infoSize = U32(Data, info);
    const auto width = static_cast<std::int32_t>(U32(Data, info + 4));
    const auto rawHeight = static_cast<std::int32_t>(U32(Data, info + 8));
    const std::uint16_t bits = U16(Data, info + 14);
    const std::uint32_t compression = U32(Data, info + 16);
    const std::uint32_t colorsUsed = U32(Data, info + 32);
    const std::uint32_t pixelsAt = U32(Data, 10);
    const bool four = compression == BiRle4;
    if (bits != (four ? 4 : 8))
        Fail(Format("RLE%d with %d bits per pixel", four ? 4 : 8, static_cast<int>(bits)));
    // Compressed bitmaps are bottom-up by definition; a negative height is tolerated as top-down.
    const long long height = std::llabs(static_cast<long long>(rawHeight));
    if (width <= 0 || height == 0)
        Fail(Format("a size of %d x %d pixels is invalid", width, rawHeight));
    if (width > TBitmap::MaxSide || height > TBitmap::MaxSide ||
        static_cast<long long>(width) * height > TBitmap::MaxPixels)
        Fail(Format("a picture of %d x %d pixels is too large", width, rawHeight));

    const std::uint32_t maxColors = 1u << bits;
    const std::uint32_t colors = colorsUsed == 0 || colorsUsed > maxColors ? maxColors : colorsUsed;
    const std::size_t paletteAt = info + infoSize;
    if (infoSize > Data.size() || paletteAt + 4ull * colors > Data.size())
        Fail("the palette is cut off");
    if (pixelsAt < paletteAt || pixelsAt > Data.size()) Fail("the pixel offset is out of the file");

    const std::vector<std::uint8_t> index =
        RleReader(Data.substr(pixelsAt), four, width, static_cast<int>(height)).Run();

    Out.Width = width;
    Out.Height = static_cast<int>(height);
    Out.Rgb.assign(index.size() * 3, 0);
    for (int row = 0; row < Out.Height; ++row) {
        const int src = rawHeight > 0 ? Out.Height - 1 - row : row;
        for (int x = 0; x < width; ++x) {
            std::uint32_t i = index[static_cast<std::size_t>(src) * width + x];
            if (i >= colors) i = 0;  // an index past the palette reads as its first colour
            const std::size_t entry = paletteAt + 4 * i;
            std::uint8_t* p = &Out.Rgb[(static_cast<std::size_t>(row) * width + x) * 3];
            p[0] = static_cast<std::uint8_t>(Data[entry + 2]);
            p[1] = static_cast<std::uint8_t>(Data[entry + 1]);
            p[2] = static_cast<std::uint8_t>(Data[entry]);
        }
    }
}

}  // namespace ribbon::detail
