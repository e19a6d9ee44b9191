// The background-picture loader with any file: BMP (plain and RLE, whole or cut off) and every
// other format stb_image reads. The answer is a picture within the size limits or an error
// with a message.

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "base/Exceptions.h"
#include "graphics/Bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ribbon;
    TBitmap bitmap;
    try {
        bitmap.LoadFromMemory(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const Exception& error) {
        if (!error.Message.empty()) return 0;
        std::fprintf(stderr, "an error without a message\n");
        std::abort();
    }
    const long long pixels = static_cast<long long>(bitmap.Width()) * bitmap.Height();
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0 || pixels > TBitmap::MaxPixels) {
        std::fprintf(stderr, "a picture of %d x %d\n", bitmap.Width(), bitmap.Height());
        std::abort();
    }
    // Every row can be read in full.
    unsigned sum = 0;
    for (int y = 0; y < bitmap.Height(); ++y) sum += bitmap.ScanLine(y)[bitmap.Width() * 3 - 1];
    return static_cast<int>(sum & 0);
}
