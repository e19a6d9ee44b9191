#pragma once
// Opaque text runs as they came out on the canvas, kept per thread so that a label drawn again
// is copied instead of laid out and blended again. Internal to the graphics library.
//
// A run is kept only when its pixels depend on nothing but its key: every pixel a glyph inks
// lies in the filled cell (or is left alone), so the canvas underneath never shows through.
// Upright text (escapement 0) has integer coordinates throughout, so its pixels move with it
// and its key leaves the place out; turned text may round differently elsewhere, so its key
// holds the place and the surface's size.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/FontCache.h"
#include "graphics/Graphics.h"

namespace ribbon::detail {

// A glyph placed on the canvas: its bitmap's top-left pixel.
struct TPlacedGlyph {
    std::shared_ptr<const TFontFace::Glyph> Glyph;
    int Left, Top;
};

// The glyphs of one font at whole-pixel places, by byte: upright text looks them up here
// instead of in the face's map.
struct TGlyphSlots {
    std::array<std::shared_ptr<const TFontFace::Glyph>, 256> Slots;
};

// What a text drew, for deciding whether its pixels can be kept.
struct TTextLayout {
    bool Filled = false;
    TPoint Fill[4]{};  // the cell's corners
    int LineCount = 0;
    TPoint Lines[2][4]{};  // underline and strike-out, drawn over the glyphs in the ink
    std::vector<TPlacedGlyph> Glyphs;
};

struct TTextRunKey {
    // Everything of the font that the pixels depend on.
    const TFontFace* Face = nullptr;
    int EmPixels = 0, WidthPixels = 0, Ascent = 0, Descent = 0;
    int Escapement = 0, Orientation = 0;
    int Flags = 0;  // synthetic bold 1, synthetic italic 2, no smoothing 4, underline 8, strike 16
    TColor Ink = 0, Back = 0;
    int X = 0, Y = 0, SurfaceWidth = 0, SurfaceHeight = 0;  // all 0 for upright text
    std::string_view Text;

    bool operator==(const TTextRunKey& o) const {
        return Face == o.Face && EmPixels == o.EmPixels && WidthPixels == o.WidthPixels &&
               Ascent == o.Ascent && Descent == o.Descent && Escapement == o.Escapement &&
               Orientation == o.Orientation && Flags == o.Flags && Ink == o.Ink && Back == o.Back &&
               X == o.X && Y == o.Y && SurfaceWidth == o.SurfaceWidth &&
               SurfaceHeight == o.SurfaceHeight && Text == o.Text;
    }
    std::size_t Hash() const;
};

struct TTextRun {
    // Pixels X0..X1 (inclusive) of row Y, relative to the run's origin, at Offset in Rgb.
    struct Span {
        int Y, X0, X1;
        std::size_t Offset;
    };
    // False: the text inks pixels outside its cell, or is too large to keep; it is drawn the
    // long way every time.
    bool Usable = false;
    std::vector<Span> Spans;
    // The spans make a rectangle, row after row in Rgb (always so for upright text).
    bool Rectangle = false;
    std::vector<std::uint8_t> Rgb;

    std::size_t Bytes() const { return Rgb.size() + Spans.size() * sizeof(Span); }
};

// A few runs per thread, the least recently used dropped first. Memory stays below
// MaxBytes of pixels and spans plus MaxRuns * (MaxTextBytes + an entry of about 200 bytes) per
// thread that draws text; a run larger than MaxRunBytes is remembered as not to be kept.
class TTextRunCache {
  public:
    static constexpr std::size_t MaxRuns = 32;
    static constexpr std::size_t MaxTextBytes = 256;  // longer texts are not kept
    static constexpr std::size_t MaxRunBytes = 64 * 1024;
    static constexpr std::size_t MaxBytes = 256 * 1024;

    static TTextRunCache& ForThread();

    // The run kept under Key, or nullptr; Hash is set to the key's hash either way.
    const TTextRun* Find(const TTextRunKey& Key, std::size_t& Hash);
    // Keeps the run under a copy of Key (Face held by FaceOwner); returns the kept run.
    const TTextRun& Add(const TTextRunKey& Key, std::size_t Hash,
                        std::shared_ptr<TFontFace> FaceOwner, TTextRun Run);

    // Runs copied onto a canvas by this thread, for tests to see that the cache is used.
    unsigned long long Hits = 0;

  private:
    struct Entry {
        TTextRunKey Key;
        std::string Text;  // Key.Text points here
        std::shared_ptr<TFontFace> Face;
        std::size_t Hash = 0;
        unsigned long long Used = 0;
        TTextRun Run;
    };
    std::vector<std::unique_ptr<Entry>> entries_;
    Entry* last_ = nullptr;  // the run found or kept last
    std::size_t bytes_ = 0;
    unsigned long long clock_ = 0;
};

}  // namespace ribbon::detail
