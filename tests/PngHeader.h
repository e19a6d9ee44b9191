#pragma once
// The colour type and bit depth that a PNG file's header (IHDR, the first chunk) declares.

#include <ostream>
#include <string>

namespace ribbon::test {

struct PngHeader {
    int ColourType = -1;  // 0 grey, 2 RGB, 3 palette
    int Depth = -1;       // bits a sample
    bool operator==(const PngHeader&) const = default;
};

inline PngHeader ReadPngHeader(const std::string& png) {
    // 8 bytes of signature, the chunk's length and name, width and height, then depth and type.
    if (png.size() < 26 || png.compare(12, 4, "IHDR") != 0) return {};
    return {static_cast<unsigned char>(png[25]), static_cast<unsigned char>(png[24])};
}

inline void PrintTo(const PngHeader& h, std::ostream* os) {
    *os << "colour type " << h.ColourType << ", " << h.Depth << " bits";
}

}  // namespace ribbon::test
