#pragma once
// How a picture's pixels go into a PNG: the smallest colour type and bit depth that keep every
// pixel exactly. A barcode has two colours plus the grey levels of its text's edges, so most
// pictures need 1 to 4 bits a pixel instead of 24.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/Canvas.h"

namespace ribbon::detail {

enum class PngColour : std::uint8_t { Grey, Palette, Rgb };

class PngLayout {
  public:
    /// One pass over the pixels, given up at the 257th colour (then RGB). Without Reduce the
    /// layout is 8-bit RGB whatever the pixels.
    explicit PngLayout(const TPixelBuffer& Pixels, bool Reduce = true);

    PngColour Colour() const { return colour_; }
    int Depth() const { return depth_; }  // bits a sample: 1, 2, 4 or 8
    /// The palette's colours as 0xRRGGBB, in the order they first appear (Palette only).
    const std::vector<std::uint32_t>& Palette() const { return palette_; }

    /// Bytes of one row in the file, before filtering.
    std::size_t RowBytes() const { return rowBytes_; }
    /// One row of RGB pixels as the file stores it: packed into Scratch (RowBytes() long), or
    /// Rgb itself for RGB.
    const std::uint8_t* Row(const std::uint8_t* Rgb, std::uint8_t* Scratch) const;

  private:
    // Open addressing with twice the slots of the largest palette: at most half full.
    static constexpr int Slots = 512;
    static constexpr std::uint32_t Empty = 0xFFFFFFFF;  // no 24-bit colour
    int Find(std::uint32_t Rgb) const;                  // the slot of Rgb, or of its empty place

    int width_;
    PngColour colour_ = PngColour::Rgb;
    int depth_ = 8;
    std::size_t rowBytes_;
    std::vector<std::uint32_t> palette_;
    std::array<std::uint32_t, Slots> keys_;
    std::array<std::uint8_t, Slots> indices_;
};

}  // namespace ribbon::detail
