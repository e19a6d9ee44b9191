#pragma once
// Run-length-compressed Windows bitmaps (RLE8 and RLE4), which stb_image refuses. Internal to
// the runtime; DecodeImage hands such files here.

#include <string_view>

#include "graphics/Bitmap.h"

namespace ribbon::detail {

// True when Data is a BMP whose pixels are RLE8 or RLE4 compressed.
bool IsRleBmp(std::string_view Data);

// Decodes such a file into 24-bit RGB. Pixels the data skips (delta and end-of-line codes) take
// the first palette colour. A broken or truncated file raises EImageError.
void DecodeRleBmp(std::string_view Data, TPixelBuffer& Out);

}  // namespace ribbon::detail
