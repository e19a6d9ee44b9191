#pragma once
// Image file formats for TBitmap, through libpng, libjpeg-turbo and stb_image. Internal to the
// runtime; a failure to encode or decode raises EImageError.

#include <string>
#include <string_view>

#include "runtime/Bitmap.h"

namespace ribbon::detail {

std::string EncodePng(const TPixelBuffer& Pixels);
std::string EncodeJpeg(const TPixelBuffer& Pixels, const TJPEGOptions& Options);
std::string EncodeBmp(const TPixelBuffer& Pixels);

// Any format stb_image reads (BMP, PNG, JPEG, GIF, TGA, ...) and RLE-compressed BMP, converted
// to 24-bit RGB.
void DecodeImage(std::string_view Data, TPixelBuffer& Out);

}  // namespace ribbon::detail
