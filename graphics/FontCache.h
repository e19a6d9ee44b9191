#pragma once
// The process-wide cache of font faces behind the canvas's text. Faces are found through
// fontconfig (or its earlier answers, see FaceResolver), opened once with FreeType and kept for
// the life of the process. Internal to the graphics library.

#include <ft2build.h>

#include <array>
#include <compare>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>
#include FT_FREETYPE_H

namespace ribbon::detail {

struct TFontFace {
    ~TFontFace();

    FT_Face Face = nullptr;
    // A FreeType face serves one thread at a time; hold this while using Face or Advances.
    std::mutex Lock;
    std::string Family;
    std::string Style;
    // Where the face was read from, so that other renderers (the vector canvas) open the same one.
    std::string File;
    int Index = 0;
    bool Bold = false;    // the face itself is bold (no emboldening needed)
    bool Italic = false;  // the face itself is italic or oblique

    // Vertical metrics in font units, as a device reports its cell: ascent and descent of the
    // Windows metrics when the face has them.
    int UnitsPerEm = 1000;
    int Ascent = 800;
    int Descent = 200;
    int UnderlinePosition = -100;  // below the baseline when negative
    int UnderlineThickness = 50;
    int StrikeoutPosition = 250;
    int StrikeoutSize = 50;
    int AverageWidth = 0;  // 0 when the face does not say

    // Hinted advances in pixels of the 256 byte values, per size; -1 until looked up.
    std::map<long long, std::array<int, 256>> Advances;

    // Rendered glyphs, so that text drawn again (the same label on every picture) skips the
    // hinting and rasterising. Kept small: cleared when it grows past MaxGlyphs.
    struct GlyphKey {
        int EmPixels, WidthPixels, Orientation;
        std::uint8_t Flags;  // synthetic bold 1, synthetic italic 2, no smoothing 4
        std::uint8_t Byte;
        int DeltaX, DeltaY;  // the sub-pixel offset in 1/64 pixel
        auto operator<=>(const GlyphKey&) const = default;
    };
    struct Glyph {
        int Left = 0, Top = 0, Width = 0, Rows = 0;
        std::vector<std::uint8_t> Alpha;  // Rows x Width coverage, 0..255
    };
    static constexpr std::size_t MaxGlyphs = 4096;
    // Shared, so that a text holds its glyphs while it blends them outside Lock.
    std::map<GlyphKey, std::shared_ptr<const Glyph>> Glyphs;

    // The underline's or strike-out's rows at EmPixels, in pixels from the top of the cell
    // whose baseline lies Baseline below it: Top and Top + Thick bound the line.
    struct LineBand {
        long double Top, Thick;
    };
    LineBand Underline(int EmPixels, long double Baseline) const;
    LineBand StrikeOut(int EmPixels, long double Baseline) const;
};

// The family that a face name stands for among the fonts the set-up installs: "Courier New"
// and "Courier" a monospaced face, "Tahoma" and "Verdana" a humanist sans, and so on. Names
// without an entry are handed to fontconfig unchanged; an empty name gives the default face.
std::string SubstituteFamily(const std::string& Name);

// The installed face nearest to the name, weight and slant, opened once and shared. Raises
// ribbon::Exception when no font at all can be found.
std::shared_ptr<TFontFace> FindFace(const std::string& Name, bool Bold, bool Italic);

// The byte as a Unicode code point, reading the text as Windows-1252.
char32_t Cp1252ToUnicode(unsigned char Byte);

}  // namespace ribbon::detail
