#include "graphics/Bitmap.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "base/Exceptions.h"
#include "base/Format.h"
#include "graphics/ImageCodecs.h"

namespace ribbon {

namespace {

void CheckSize(int width, int height) {
    if (width < 0 || height < 0 || width > TBitmap::MaxSide || height > TBitmap::MaxSide ||
        static_cast<long long>(width) * height > TBitmap::MaxPixels)
        throw EImageError(
            Format("A picture of %d x %d pixels is out of range (each side at most %d, "
                   "at most %d pixels).",
                   width, height, TBitmap::MaxSide, TBitmap::MaxPixels));
}

std::string Extension(const std::string& fileName) {
    const auto slash = fileName.find_last_of('/');
    const auto dot = fileName.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = fileName.substr(dot);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

}  // namespace

TImageFormat ImageFormatFromFileName(const std::string& FileName) {
    const std::string ext = Extension(FileName);
    if (ext == ".png") return TImageFormat::Png;
    if (ext == ".jpg" || ext == ".jpeg") return TImageFormat::Jpeg;
    if (ext == ".bmp") return TImageFormat::Bmp;
    throw EImageError(
        Format("Unknown picture file extension '%s' in \"%s\" (use .png, .jpg, "
               ".jpeg or .bmp).",
               ext, FileName));
}

TBitmap::TBitmap()
    : pixels_(std::make_unique<TPixelBuffer>()), canvas_(std::make_unique<TCanvas>(*pixels_)) {}

TBitmap::TBitmap(int Width, int Height) : TBitmap() {
    SetSize(Width, Height);
}

TBitmap::~TBitmap() = default;
TBitmap::TBitmap(TBitmap&&) noexcept = default;
TBitmap& TBitmap::operator=(TBitmap&&) noexcept = default;

void TBitmap::SetSize(int Width, int Height) {
    CheckSize(Width, Height);
    TPixelBuffer& p = *pixels_;
    if (Width == p.Width && Height == p.Height) return;
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(Width) * Height * 3, 0xFF);
    const int keepW = std::min(Width, p.Width), keepH = std::min(Height, p.Height);
    // A bitmap that is 0 wide (height set before width) has rows but no pixels to keep.
    for (int y = 0; keepW > 0 && y < keepH; ++y)
        std::copy_n(p.Rgb.data() + static_cast<std::size_t>(y) * p.Width * 3, keepW * 3,
                    rgb.data() + static_cast<std::size_t>(y) * Width * 3);
    p.Rgb = std::move(rgb);
    p.Width = Width;
    p.Height = Height;
}

std::uint8_t* TBitmap::ScanLine(int Row) {
    RIBBON_ASSERT(Row >= 0 && Row < Height(), "Scan line index out of range");
    return &pixels_->Rgb[static_cast<std::size_t>(Row) * Width() * 3];
}

const std::uint8_t* TBitmap::ScanLine(int Row) const {
    RIBBON_ASSERT(Row >= 0 && Row < Height(), "Scan line index out of range");
    return &pixels_->Rgb[static_cast<std::size_t>(Row) * Width() * 3];
}

void TBitmap::Assign(const TBitmap& Source) {
    if (&Source == this) return;
    *pixels_ = *Source.pixels_;
}

void TBitmap::LoadFromFile(const std::string& FileName) {
    std::ifstream in(FileName, std::ios::binary);
    if (!in)
        throw EFileError(Format("Cannot open file \"%s\". %s", FileName, std::strerror(errno)));
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw EFileError(Format("Cannot read file \"%s\".", FileName));
    LoadFromMemory(data);
}

void TBitmap::LoadFromMemory(std::string_view Data) {
    TPixelBuffer decoded;
    detail::DecodeImage(Data, decoded);
    *pixels_ = std::move(decoded);
}

std::string TBitmap::Encode(TImageFormat Format, const TJPEGOptions& Jpeg) const {
    switch (Format) {
        case TImageFormat::Png:
            return detail::EncodePng(*pixels_);
        case TImageFormat::Jpeg:
            return detail::EncodeJpeg(*pixels_, Jpeg);
        case TImageFormat::Bmp:
            return detail::EncodeBmp(*pixels_);
    }
    throw EImageError("Unknown picture format.");
}

void TBitmap::SaveToFile(const std::string& FileName, const TJPEGOptions& Jpeg) const {
    // Encode first, so that a picture that cannot be encoded leaves no file behind.
    const std::string data = Encode(ImageFormatFromFileName(FileName), Jpeg);
    std::ofstream out(FileName, std::ios::binary | std::ios::trunc);
    if (!out)
        throw EFileError(Format("Cannot create file \"%s\". %s", FileName, std::strerror(errno)));
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    out.close();
    if (!out) throw EFileError(Format("Cannot write file \"%s\".", FileName));
}

}  // namespace ribbon
