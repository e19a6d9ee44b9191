#include "graphics/ImageCodecs.h"

#include <jpeglib.h>
#include <stb_image.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "base/Exceptions.h"
#include "base/Format.h"
#include "graphics/BmpRle.h"

namespace ribbon::detail {

namespace {

[[noreturn]] void Fail(const char* what, const std::string& why) {
    throw EImageError(Format("Cannot %s the picture: %s", what, why));
}

void CheckEncodable(const TPixelBuffer& p) {
    if (p.Width <= 0 || p.Height <= 0) Fail("encode", "it is empty");
}

// --- JPEG ---------------------------------------------------------------------------------

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX] = "";
};

void JpegErrorExit(j_common_ptr info) {
    auto* error = reinterpret_cast<JpegError*>(info->err);
    info->err->format_message(info, error->message);
    std::longjmp(error->jump, 1);
}

void JpegQuiet(j_common_ptr, int) {}

bool WriteJpeg(const TPixelBuffer& pixels, const TJPEGOptions& options, JpegError& error,
               unsigned char*& buffer, unsigned long& size) {
    jpeg_compress_struct info;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = JpegErrorExit;
    error.manager.emit_message = JpegQuiet;
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(pixels.Width);
    info.image_height = static_cast<JDIMENSION>(pixels.Height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info,
                     options.CompressionQuality < 1     ? 1
                     : options.CompressionQuality > 100 ? 100
                                                        : options.CompressionQuality,
                     TRUE);
    if (options.Performance == jpBestSpeed) {
        info.dct_method = JDCT_IFAST;
    } else {
        info.dct_method = JDCT_ISLOW;
        info.optimize_coding = options.OptimizeCoding ? TRUE : FALSE;
    }
    if (options.Smoothing) info.smoothing_factor = 25;
    if (options.ProgressiveEncoding) jpeg_simple_progression(&info);
    info.density_unit = 1;  // dots per inch
    info.X_density = info.Y_density = 96;
    jpeg_start_compress(&info, TRUE);
    const std::size_t stride = static_cast<std::size_t>(pixels.Width) * 3;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&pixels.Rgb[info.next_scanline * stride]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

void PutLE(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::string EncodeJpeg(const TPixelBuffer& Pixels, const TJPEGOptions& Options) {
    CheckEncodable(Pixels);
    JpegError error;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool ok = WriteJpeg(Pixels, Options, error, buffer, size);
    std::unique_ptr<unsigned char, decltype(&std::free)> owned(buffer, &std::free);
    if (!ok) Fail("encode", std::string("JPEG: ") + error.message);
    return std::string(reinterpret_cast<const char*>(buffer), size);
}

std::string EncodeBmp(const TPixelBuffer& Pixels) {
    CheckEncodable(Pixels);
    // A bottom-up 24-bit BITMAPINFOHEADER file; rows are padded to four bytes.
    const std::uint32_t stride = (static_cast<std::uint32_t>(Pixels.Width) * 3 + 3) & ~3u;
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(Pixels.Height);
    std::string out;
    out.reserve(54 + imageSize);
    out += "BM";
    PutLE(out, 54 + imageSize, 4);
    PutLE(out, 0, 4);
    PutLE(out, 54, 4);
    PutLE(out, 40, 4);
    PutLE(out, static_cast<std::uint32_t>(Pixels.Width), 4);
    PutLE(out, static_cast<std::uint32_t>(Pixels.Height), 4);
    PutLE(out, 1, 2);
    PutLE(out, 24, 2);
    PutLE(out, 0, 4);  // BI_RGB
    PutLE(out, imageSize, 4);
    PutLE(out, 3780, 4);  // 96 dots per inch
    PutLE(out, 3780, 4);
    PutLE(out, 0, 4);
    PutLE(out, 0, 4);
    const std::size_t src = static_cast<std::size_t>(Pixels.Width) * 3;
    std::string row(stride, '\0');
    for (int y = Pixels.Height - 1; y >= 0; --y) {
        const std::uint8_t* p = &Pixels.Rgb[y * src];
        for (int x = 0; x < Pixels.Width; ++x) {
            row[x * 3] = static_cast<char>(p[x * 3 + 2]);
            row[x * 3 + 1] = static_cast<char>(p[x * 3 + 1]);
            row[x * 3 + 2] = static_cast<char>(p[x * 3]);
        }
        out += row;
    }
    return out;
}

void DecodeImage(std::string_view Data, TPixelBuffer& Out) {
    if (Data.size() > static_cast<std::size_t>(INT32_MAX)) Fail("read", "the file is too large");
    if (IsRleBmp(Data)) return DecodeRleBmp(Data, Out);
    int w = 0, h = 0, channels = 0;
    const auto* bytes = reinterpret_cast<const stbi_uc*>(Data.data());
    if (!stbi_info_from_memory(bytes, static_cast<int>(Data.size()), &w, &h, &channels))
        Fail("read", stbi_failure_reason() ? stbi_failure_reason() : "unknown format");
    if (w <= 0 || h <= 0 || w > TBitmap::MaxSide || h > TBitmap::MaxSide ||
        static_cast<long long>(w) * h > TBitmap::MaxPixels)
        Fail("read", Format("a picture of %d x %d pixels is too large", w, h));
    stbi_uc* decoded =
        stbi_load_from_memory(bytes, static_cast<int>(Data.size()), &w, &h, &channels, 3);
    if (!decoded) Fail("read", stbi_failure_reason() ? stbi_failure_reason() : "unknown format");
    std::unique_ptr<stbi_uc, decltype(&stbi_image_free)> owned(decoded, &stbi_image_free);
    Out.Width = w;
    Out.Height = h;
    Out.Rgb.assign(decoded, decoded + static_cast<std::size_t>(w) * h * 3);
}

}  // namespace ribbon::detail
