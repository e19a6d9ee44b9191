#pragma once
// Whether two pictures are the same, size and every pixel.

#include <cstring>

#include "graphics/Bitmap.h"

namespace ribbon::test {

inline bool SamePixels(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        if (std::memcmp(a.ScanLine(y), b.ScanLine(y), static_cast<std::size_t>(a.Width()) * 3))
            return false;
    return true;
}

}  // namespace ribbon::test
