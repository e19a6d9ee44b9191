#include "runtime/PngLayout.h"

#include <algorithm>

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
    // Pixels mostly repeat their left neighbour (bars, spaces), so the table is asked only when
    // the colour changes.
    std::uint32_t last = Empty;
    const std::uint8_t* const end = Pixels.Rgb.data() + Pixels.Rgb.size();
    for (const std::uint8_t* p = Pixels.Rgb.data(); Reduce && p != end; p += 3) {
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

const std::uint8_t* PngLayout::Row(const std::uint8_t* Rgb, std::uint8_t* Scratch) const {
    if (colour_ == PngColour::Rgb) return Rgb;
    // Samples are packed from the high bits of each byte; the last byte is padded with zeros.
    const bool grey = colour_ == PngColour::Grey;
    unsigned packed = 0, value = 0;
    int bits = 0;
    std::uint32_t last = Empty;
    std::uint8_t* out = Scratch;
    for (int x = 0; x < width_; ++x, Rgb += 3) {
        const std::uint32_t c = ColourAt(Rgb);
        if (c != last) {
            last = c;
            value = grey ? Rgb[0] >> (8 - depth_) : indices_[Find(c)];
        }
        packed = packed << depth_ | value;
        bits += depth_;
        if (bits == 8) {
            *out++ = static_cast<std::uint8_t>(packed);
            packed = 0;
            bits = 0;
        }
    }
    if (bits) *out = static_cast<std::uint8_t>(packed << (8 - bits));
    return Scratch;
}

}  // namespace ribbon::detail
