#include "graphics/PngLayout.h"

#include <algorithm>
#include <cstring>

namespace ribbon::detail {

namespace {

std::uint32_t ColourAt(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[2];
}

// Decoders widen an n-bit grey sample by repeating its bits (n = 2: times 85), so a level is
// kept exactly by the fewest bits of which it is such a multiple.
int GreyBits(int level) {
    if (level == 0 || level == 255) return 1;
    if (level % 85 == 0) return 2;
    if (level % 17 == 0) return 4;
    return 8;
}

int PaletteBits(std::size_t colours) {
    return colours <= 2 ? 1 : colours <= 4 ? 2 : colours <= 16 ? 4 : 8;
}

}  // namespace

PngLayout::PngLayout(const TPixelBuffer& Pixels, bool Reduce) : width_(Pixels.Width) {
    keys_.fill(Empty);
    bool grey = true;
    int greyBits = 1;
    // Rows mostly repeat the row above and pixels their left neighbour (bars, spaces), so the
    // table is asked only where a row differs and its colour changes.
    const std::size_t stride = static_cast<std::size_t>(Pixels.Width) * 3;
    for (int y = 0; Reduce && y < Pixels.Height; ++y) {
        const std::uint8_t* p = Pixels.Rgb.data() + y * stride;
        if (y > 0 && std::memcmp(p, p - stride, stride) == 0) continue;
        std::uint32_t last = Empty;
        for (const std::uint8_t* const end = p + stride; p != end; p += 3) {
            const std::uint32_t c = ColourAt(p);
            if (c == last) continue;
            last = c;
            const int slot = Find(c);
            if (keys_[slot] != Empty) continue;
            if (palette_.size() == 256) {
                Reduce = false;  // more colours than a palette holds
                break;
            }
            keys_[slot] = c;
            indices_[slot] = static_cast<std::uint8_t>(palette_.size());
            palette_.push_back(c);
            if (p[0] == p[1] && p[1] == p[2])
                greyBits = std::max(greyBits, GreyBits(p[0]));
            else
                grey = false;
        }
    }
    if (Reduce) {
        // Grey needs no palette chunk, so it wins a tie.
        const int paletteBits = PaletteBits(palette_.size());
        colour_ = grey && greyBits <= paletteBits ? PngColour::Grey : PngColour::Palette;
        depth_ = colour_ == PngColour::Grey ? greyBits : paletteBits;
    }
    if (colour_ != PngColour::Palette) palette_.clear();
    rowBytes_ = colour_ == PngColour::Rgb ? static_cast<std::size_t>(width_) * 3
                                          : (static_cast<std::size_t>(width_) * depth_ + 7) / 8;
}

int PngLayout::Find(std::uint32_t Rgb) const {
    int slot = static_cast<int>((Rgb * 2654435761u) >> 23);  // the top 9 bits: 0..Slots-1
    while (keys_[slot] != Empty && keys_[slot] != Rgb) slot = (slot + 1) & (Slots - 1);
    return slot;
}

namespace {

// Samples of Bits bits packed from the high bits of each byte; the last byte is padded with
// zeros.
template <int Bits, typename Sample>
void Pack(const std::uint8_t* rgb, int width, std::uint8_t* out, Sample sample) {
    constexpr int perByte = 8 / Bits;
    int x = 0;
    for (; x + perByte <= width; x += perByte, ++out) {
        unsigned packed = 0;
        for (int i = 0; i < perByte; ++i, rgb += 3) packed = packed << Bits | sample(rgb);
        *out = static_cast<std::uint8_t>(packed);
    }
    if (x == width) return;
    unsigned packed = 0;
    int bits = 0;
    for (; x < width; ++x, rgb += 3, bits += Bits) packed = packed << Bits | sample(rgb);
    *out = static_cast<std::uint8_t>(packed << (8 - bits));
}

template <typename Sample>
void PackAny(int bits, const std::uint8_t* rgb, int width, std::uint8_t* out, Sample sample) {
    switch (bits) {
        case 1:
            return Pack<1>(rgb, width, out, sample);
        case 2:
            return Pack<2>(rgb, width, out, sample);
        case 4:
            return Pack<4>(rgb, width, out, sample);
        default:
            return Pack<8>(rgb, width, out, sample);
    }
}

}  // namespace

const std::uint8_t* PngLayout::Row(const std::uint8_t* Rgb, std::uint8_t* Scratch) const {
    if (colour_ == PngColour::Rgb) return Rgb;
    if (colour_ == PngColour::Grey) {
        const int shift = 8 - depth_;
        PackAny(depth_, Rgb, width_, Scratch,
                [shift](const std::uint8_t* p) { return static_cast<unsigned>(p[0] >> shift); });
        return Scratch;
    }
    // The table is asked only when the colour changes.
    std::uint32_t last = Empty;
    unsigned index = 0;
    PackAny(depth_, Rgb, width_, Scratch, [&](const std::uint8_t* p) {
        const std::uint32_t c = ColourAt(p);
        if (c != last) {
            last = c;
            index = indices_[Find(c)];
        }
        return index;
    });
    return Scratch;
}

}  // namespace ribbon::detail
