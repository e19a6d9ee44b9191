#pragma once
// Image file formats for TBitmap, through libpng, libjpeg-turbo and stb_image. Internal to the
// runtime; a failure to encode or decode raises EImageError.

#include <png.h>
#include <zlib.h>

#include <string>
#include <string_view>

#include "graphics/Bitmap.h"

namespace ribbon::detail {

// How EncodePng compresses. The defaults are what measured best on labels (bench/PngBench.cpp,
// README "PNG files"): no filter, as rows of bars repeat the row above byte for byte and
// filters only make the text's rows dearer; level 6, 3 % to 13 % above level 9's bytes at a
// sixth of its time or less; Z_FILTERED, up to 2 % smaller; memory level 4, half of zlib's state
// for at most 1.6 % more bytes (the larger state made a loop of encodings grow and trim the heap
// for every file). The other values are there to measure against.
struct TPngTuning {
    int Filters = PNG_FILTER_NONE;  // a mask of PNG_FILTER_*, or -1 for libpng's choice
    int Level = 6;                  // zlib's 0..9, or -1 for its default
    int Strategy = Z_FILTERED;      // zlib's Z_* strategy, or -1 for libpng's choice
    int MemLevel = 4;               // zlib's 1..9, or -1 for libpng's choice
    bool Reduce = true;             // false: 8-bit RGB whatever the pixels, as files once were
};

// In the smallest colour type that keeps every pixel (PngLayout.h).
std::string EncodePng(const TPixelBuffer& Pixels, const TPngTuning& Tuning = {});
std::string EncodeJpeg(const TPixelBuffer& Pixels, const TJPEGOptions& Options);
std::string EncodeBmp(const TPixelBuffer& Pixels);

// Any format stb_image reads (BMP, PNG, JPEG, GIF, TGA, ...) and RLE-compressed BMP, converted
// to 24-bit RGB.
void DecodeImage(std::string_view Data, TPixelBuffer& Out);

}  // namespace ribbon::detail
