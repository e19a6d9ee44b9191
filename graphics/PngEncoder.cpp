#include <png.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/Exceptions.h"
#include "graphics/ImageCodecs.h"
#include "graphics/PngLayout.h"

namespace ribbon::detail {

namespace {

struct PngSink {
    std::string bytes;
    char message[256] = "";
};

void PngWrite(png_structp png, png_bytep data, png_size_t length) {
    auto* sink = static_cast<PngSink*>(png_get_io_ptr(png));
    try {
        sink->bytes.append(reinterpret_cast<const char*>(data), length);
    } catch (...) {
        png_error(png, "out of memory");
    }
}

void PngFlush(png_structp) {}

void PngError(png_structp png, png_const_charp message) {
    auto* sink = static_cast<PngSink*>(png_get_error_ptr(png));
    std::snprintf(sink->message, sizeof sink->message, "%s", message);
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

int ColourType(PngColour colour) {
    switch (colour) {
        case PngColour::Grey:
            return PNG_COLOR_TYPE_GRAY;
        case PngColour::Palette:
            return PNG_COLOR_TYPE_PALETTE;
        case PngColour::Rgb:
            break;
    }
    return PNG_COLOR_TYPE_RGB;
}

// Returns false on an error reported through longjmp; nothing with a destructor lives in here.
bool WritePng(const TPixelBuffer& pixels, const PngLayout& layout, const png_color* palette,
              std::uint8_t* scratch, const TPngTuning& tuning, PngSink& sink) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, PngError, PngWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &sink, PngWrite, PngFlush);
    png_set_IHDR(png, info, pixels.Width, pixels.Height, layout.Depth(),
                 ColourType(layout.Colour()), PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (layout.Colour() == PngColour::Palette)
        png_set_PLTE(png, info, palette, static_cast<int>(layout.Palette().size()));
    if (tuning.Filters >= 0) png_set_filter(png, PNG_FILTER_TYPE_BASE, tuning.Filters);
    if (tuning.Level >= 0) png_set_compression_level(png, tuning.Level);
    if (tuning.Strategy >= 0) png_set_compression_strategy(png, tuning.Strategy);
    if (tuning.MemLevel >= 0) png_set_compression_mem_level(png, tuning.MemLevel);
    // 96 dots per inch, as the canvas measures fonts.
    png_set_pHYs(png, info, 3780, 3780, PNG_RESOLUTION_METER);
    png_write_info(png, info);
    // A row like the one above (most rows of bars) is written from the same packed bytes.
    const std::size_t stride = static_cast<std::size_t>(pixels.Width) * 3;
    const std::uint8_t* row = nullptr;
    for (int y = 0; y < pixels.Height; ++y) {
        const std::uint8_t* rgb = &pixels.Rgb[y * stride];
        if (y == 0 || std::memcmp(rgb, rgb - stride, stride) != 0) row = layout.Row(rgb, scratch);
        png_write_row(png, const_cast<png_bytep>(row));
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

std::string EncodePng(const TPixelBuffer& Pixels, const TPngTuning& Tuning) {
    if (Pixels.Width <= 0 || Pixels.Height <= 0)
        throw EImageError("Cannot encode the picture: it is empty");
    const PngLayout layout(Pixels, Tuning.Reduce);
    std::vector<png_color> palette;
    for (const std::uint32_t c : layout.Palette())
        palette.push_back({static_cast<png_byte>(c >> 16), static_cast<png_byte>(c >> 8),
                           static_cast<png_byte>(c)});
    std::vector<std::uint8_t> scratch(layout.RowBytes());
    PngSink sink;
    if (!WritePng(Pixels, layout, palette.data(), scratch.data(), Tuning, sink))
        throw EImageError(std::string("Cannot encode the picture: PNG: ") + sink.message);
    return std::move(sink.bytes);
}

}  // namespace ribbon::detail
