#pragma once
// The value types of the canvas layer: colours, points, rectangles, fonts (with their logical
// description), pens and brushes. They are plain values: copying one copies every attribute,
// which is what saving and restoring a canvas's drawing state relies on.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "../base/Export.h"

namespace ribbon {

/// 0x00BBGGRR: red in the low byte, green in the next, blue in the third.
using TColor = std::uint32_t;

constexpr TColor RGB(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue) {
    return TColor{Red} | (TColor{Green} << 8) | (TColor{Blue} << 16);
}
constexpr std::uint8_t GetRValue(TColor Color) {
    return Color & 0xFF;
}
constexpr std::uint8_t GetGValue(TColor Color) {
    return (Color >> 8) & 0xFF;
}
constexpr std::uint8_t GetBValue(TColor Color) {
    return (Color >> 16) & 0xFF;
}

/// The named colours of the web page's colour lists.
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clLtGray = 0xC0C0C0;
inline constexpr TColor clDkGray = 0x808080;
inline constexpr TColor clWhite = 0xFFFFFF;

/// The colour names, in the order of the web page's colour lists.
struct TColorName {
    std::string_view Name;
    TColor Value;
};
inline constexpr std::array<TColorName, 18> ColorNames = {{
    {"Black", clBlack},
    {"Maroon", clMaroon},
    {"Green", clGreen},
    {"Olive", clOlive},
    {"Navy", clNavy},
    {"Purple", clPurple},
    {"Teal", clTeal},
    {"Gray", clGray},
    {"Silver", clSilver},
    {"Red", clRed},
    {"Lime", clLime},
    {"Yellow", clYellow},
    {"Blue", clBlue},
    {"Fuchsia", clFuchsia},
    {"Aqua", clAqua},
    {"LtGray", clLtGray},
    {"DkGray", clDkGray},
    {"White", clWhite},
}};

/// A colour by name, without regard to case and with or without the "cl" prefix ("Red",
/// "clNavy", "ltgray"); nullopt for a name outside ColorNames.
RIBBON_API std::optional<TColor> IdentToColor(std::string_view Name);

struct TPoint {
    int X = 0;
    int Y = 0;
    friend constexpr TPoint operator+(TPoint a, TPoint b) { return {a.X + b.X, a.Y + b.Y}; }
    friend constexpr bool operator==(TPoint, TPoint) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    friend constexpr bool operator==(TSize, TSize) = default;
};

/// Left and Top are inside the rectangle, Right and Bottom just outside it.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

enum TFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };

/// A set of TFontStyle values.
class TFontStyles {
  public:
    constexpr TFontStyles() = default;
    constexpr TFontStyles(std::initializer_list<TFontStyle> Styles) {
        for (TFontStyle s : Styles) Include(s);
    }
    constexpr bool Contains(TFontStyle Style) const { return (bits_ >> Style) & 1; }
    constexpr TFontStyles& Include(TFontStyle Style) {
        bits_ = static_cast<std::uint8_t>(bits_ | (1u << Style));
        return *this;
    }
    constexpr TFontStyles& Exclude(TFontStyle Style) {
        bits_ = static_cast<std::uint8_t>(bits_ & ~(1u << Style));
        return *this;
    }
    constexpr bool Empty() const { return bits_ == 0; }
    friend constexpr bool operator==(TFontStyles, TFontStyles) = default;

  private:
    std::uint8_t bits_ = 0;
};

using TFontCharset = std::uint8_t;
inline constexpr TFontCharset ANSI_CHARSET = 0;
inline constexpr TFontCharset DEFAULT_CHARSET = 1;

inline constexpr int FW_NORMAL = 400;
inline constexpr int FW_BOLD = 700;

inline constexpr std::uint8_t OUT_DEFAULT_PRECIS = 0;
inline constexpr std::uint8_t CLIP_DEFAULT_PRECIS = 0;
inline constexpr std::uint8_t DEFAULT_QUALITY = 0;
inline constexpr std::uint8_t NONANTIALIASED_QUALITY = 3;  // glyphs drawn without smoothing
inline constexpr std::uint8_t ANTIALIASED_QUALITY = 4;
inline constexpr std::uint8_t DEFAULT_PITCH = 0;

/// The logical description of a font, from which a font object is created
/// (CreateFontIndirect in Canvas.h). Field meanings follow the classic LOGFONT record.
struct TLogFont {
    /// < 0: the character (em) height in pixels; > 0: the cell height in pixels, internal leading
    /// included; 0: a default height.
    int Height = 0;
    int Width = 0;        // average character width; 0 keeps the face's own proportions
    int Escapement = 0;   // direction of the baseline, tenths of a degree counter-clockwise
    int Orientation = 0;  // rotation of each glyph, tenths of a degree counter-clockwise
    int Weight = FW_NORMAL;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    TFontCharset CharSet = DEFAULT_CHARSET;
    std::uint8_t OutPrecision = OUT_DEFAULT_PRECIS;
    std::uint8_t ClipPrecision = CLIP_DEFAULT_PRECIS;
    std::uint8_t Quality = DEFAULT_QUALITY;
    std::uint8_t PitchAndFamily = DEFAULT_PITCH;
    std::string FaceName;
    friend bool operator==(const TLogFont&, const TLogFont&) = default;
};

/// A font as the caller describes it. Size is in points, so the same font has the same physical
/// size on a 96 dpi bitmap and on a 600 dpi printer page; the canvas turns it into pixels at its
/// own resolution. Any face name is accepted: it is matched to the nearest installed family.
class RIBBON_API TFont {
  public:
    std::string Name = "DejaVu Sans";
    int Size = 10;  // points
    TColor Color = clBlack;
    TFontStyles Style;
    TFontCharset Charset = DEFAULT_CHARSET;

    /// The character height in pixels at PixelsPerInch (negative, as in a logical description).
    int PixelHeight(int PixelsPerInch) const;

    /// The logical description of this font at PixelsPerInch: height, weight, italic, underline,
    /// strike-out, charset and face name filled in; no escapement or orientation.
    TLogFont LogFont(int PixelsPerInch) const;

    friend bool operator==(const TFont&, const TFont&) = default;
};

enum TPenStyle : std::uint8_t { psSolid, psClear };

class TPen {
  public:
    TColor Color = clBlack;
    int Width = 1;  // pixels
    TPenStyle Style = psSolid;
    friend bool operator==(const TPen&, const TPen&) = default;
};

enum TBrushStyle : std::uint8_t { bsSolid, bsClear };

class TBrush {
  public:
    TColor Color() const { return color_; }
    /// Setting a colour makes the brush solid.
    void SetColor(TColor Color) {
        color_ = Color;
        style_ = bsSolid;
    }
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle Style) { style_ = Style; }
    friend bool operator==(const TBrush&, const TBrush&) = default;

  private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
};

}  // namespace ribbon
