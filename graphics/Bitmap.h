#pragma once
// An off-screen 24-bit RGB bitmap with a canvas, loading from image files and saving as PNG,
// BMP or JPEG.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "../base/Export.h"
#include "../graphics/Canvas.h"

namespace ribbon {

enum TJPEGPerformance : std::uint8_t { jpBestQuality, jpBestSpeed };

struct TJPEGOptions {
    int CompressionQuality = 90;                   // 1..100
    TJPEGPerformance Performance = jpBestQuality;  // jpBestSpeed uses the fast integer DCT
    bool Smoothing = false;                        // smooth the picture before compressing
    bool ProgressiveEncoding = false;
    // Huffman tables fitted to the picture (jpBestQuality only): a few per cent smaller files for
    // a second pass over the coefficients. The decoded pixels are the same either way.
    bool OptimizeCoding = true;
};

enum class TImageFormat : std::uint8_t { Png, Jpeg, Bmp };

/// The format that a file name's extension names (.png, .jpg, .jpeg, .bmp, any case); raises
/// EImageError for any other extension.
RIBBON_API TImageFormat ImageFormatFromFileName(const std::string& FileName);

class RIBBON_API TBitmap {
  public:
    /// The largest picture accepted, in pixels: keeps a mistyped size from exhausting memory.
    static constexpr long long MaxPixels = 64LL * 1024 * 1024;
    static constexpr int MaxSide = 65535;

    /// An empty bitmap, or one of the given size filled with white. Sizes must be 0..MaxSide
    /// and together at most MaxPixels; other sizes raise EImageError.
    TBitmap();
    TBitmap(int Width, int Height);
    ~TBitmap();
    TBitmap(TBitmap&&) noexcept;
    TBitmap& operator=(TBitmap&&) noexcept;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const { return pixels_->Width; }
    int Height() const { return pixels_->Height; }
    /// Resizing keeps the pixels that stay inside; new pixels are white.
    void SetSize(int Width, int Height);
    void SetWidth(int Width) { SetSize(Width, Height()); }
    void SetHeight(int Height) { SetSize(Width(), Height); }

    TCanvas& Canvas() { return *canvas_; }

    /// One row of pixels, three bytes (red, green, blue) each. Row must be inside the bitmap.
    std::uint8_t* ScanLine(int Row);
    const std::uint8_t* ScanLine(int Row) const;

    /// Copies the pixels (and size) of Source.
    void Assign(const TBitmap& Source);

    /// Reads a BMP file (PNG, JPEG, GIF and TGA are read too) into this bitmap, replacing its
    /// size and pixels. A missing file raises EFileError; an undecodable one EImageError.
    void LoadFromFile(const std::string& FileName);
    void LoadFromMemory(std::string_view Data);

    /// Writes the file in the format its extension names (see ImageFormatFromFileName); JPEG
    /// uses Jpeg. Failures to write raise EFileError, to encode EImageError.
    void SaveToFile(const std::string& FileName, const TJPEGOptions& Jpeg = {}) const;
    /// The encoded file in memory.
    std::string Encode(TImageFormat Format, const TJPEGOptions& Jpeg = {}) const;

  private:
    std::unique_ptr<TPixelBuffer> pixels_;
    std::unique_ptr<TCanvas> canvas_;
};

}  // namespace ribbon
