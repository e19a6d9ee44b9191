// Text on the canvas: font objects made from logical descriptions, measuring, and opaque,
// rotated text through FreeType.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "runtime/Canvas.h"
#include "runtime/Exceptions.h"
#include "runtime/FontCache.h"
#include FT_SYNTHESIS_H
#include "runtime/Format.h"
#include "runtime/Rasterizer.h"

namespace ribbon {

namespace {

// Larger glyphs would need bitmaps of hundreds of megabytes.
constexpr long long MaxEmPixels = 4096;

// The slant given to an upright face asked to be italic (about 12 degrees).
constexpr long double SyntheticSlant = 0.2L;

long long RoundToInt(long double v) {
    return std::llround(v);
}

long double TenthsToRadians(int Tenths) {
    return static_cast<long double>(Tenths) / 1800.0L * std::numbers::pi_v<long double>;
}

FT_Fixed ToFixed(long double v) {
    return static_cast<FT_Fixed>(std::llround(v * 65536.0L));
}

}  // namespace

TFontHandle::TFontHandle(const TLogFont& LogFont) : log_(LogFont) {
    const bool bold = LogFont.Weight >= 600;
    face_ = detail::FindFace(LogFont.FaceName, bold, LogFont.Italic);
    syntheticBold_ = bold && !face_->Bold;
    syntheticItalic_ = LogFont.Italic && !face_->Italic;

    const long double upem = face_->UnitsPerEm;
    const long double cell = face_->Ascent + face_->Descent;
    long long em = 16;  // 12 points on a screen
    if (LogFont.Height < 0)
        em = -static_cast<long long>(LogFont.Height);
    else if (LogFont.Height > 0)
        em = RoundToInt(LogFont.Height * upem / cell);
    em = std::max(em, 1LL);
    if (em > MaxEmPixels)
        throw Exception(Format("A font of %d pixels is too large (at most %d).", em, MaxEmPixels));
    long long width = em;
    if (LogFont.Width > 0 && face_->AverageWidth > 0)
        width =
            std::clamp(RoundToInt(LogFont.Width * upem / face_->AverageWidth), 1LL, MaxEmPixels);
    emPixels_ = static_cast<int>(em);
    widthPixels_ = static_cast<int>(width);
    ascent_ = static_cast<int>(RoundToInt(face_->Ascent * em / upem));
    descent_ = static_cast<int>(RoundToInt(face_->Descent * em / upem));
}

TFontHandle::~TFontHandle() = default;

std::string TFontHandle::FamilyName() const {
    return face_->Family;
}
std::string TFontHandle::StyleName() const {
    return face_->Style;
}

void TFontHandle::Advances(const std::string& Text, std::vector<int>& Out) const {
    Out.resize(Text.size());
    detail::TFontFace& f = *face_;
    const std::lock_guard guard(f.Lock);
    const long long key = (static_cast<long long>(emPixels_) << 32) |
                          (static_cast<long long>(widthPixels_) << 1) | (syntheticBold_ ? 1 : 0);
    auto [it, fresh] = f.Advances.try_emplace(key);
    std::array<int, 256>& table = it->second;
    if (fresh) table.fill(-1);
    bool sized = false;
    for (std::size_t i = 0; i < Text.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(Text[i]);
        if (table[byte] < 0) {
            if (!sized) {
                FT_Set_Transform(f.Face, nullptr, nullptr);
                FT_Set_Pixel_Sizes(f.Face, widthPixels_, emPixels_);
                sized = true;
            }
            int advance = 0;
            if (FT_Load_Char(f.Face, detail::Cp1252ToUnicode(byte), FT_LOAD_DEFAULT) == 0) {
                if (syntheticBold_) FT_GlyphSlot_Embolden(f.Face->glyph);
                advance = static_cast<int>((f.Face->glyph->advance.x + 32) >> 6);
            }
            table[byte] = advance;
        }
        Out[i] = table[byte];
    }
}

TSize TFontHandle::TextExtent(const std::string& Text) const {
    std::vector<int> advances;
    Advances(Text, advances);
    long long width = 0;
    for (int a : advances) width += a;
    return {static_cast<int>(std::min<long long>(width, 0x7FFFFFFF)), Height()};
}

int AverageCharWidth(const TLogFont& LogFont, int EmWidthPixels) {
    const auto face = detail::FindFace(LogFont.FaceName, LogFont.Weight >= 600, LogFont.Italic);
    if (face->AverageWidth <= 0 || EmWidthPixels <= 0) return 0;
    return static_cast<int>(std::max(1LL, RoundToInt(static_cast<long double>(EmWidthPixels) *
                                                     face->AverageWidth / face->UnitsPerEm)));
}

std::unique_ptr<TFontHandle> CreateFontIndirect(const TLogFont& LogFont) {
    return std::make_unique<TFontHandle>(LogFont);
}

void TCanvas::FillTextRect(long double X, long double Y, long double C, long double S,
                           long double U0, long double V0, long double U1, long double V1,
                           TColor Color) {
    auto at = [&](long double u, long double v) {
        return TPoint{static_cast<int>(RoundToInt(X + u * C + v * S)),
                      static_cast<int>(RoundToInt(Y - u * S + v * C))};
    };
    const TPoint corners[4] = {at(U0, V0), at(U1, V0), at(U1, V1), at(U0, V1)};
    detail::ScanPolygon(corners, TRect{0, 0, Width(), Height()},
                        [&](int y, int x0, int x1) { FillSpan(y, x0, x1, Color); });
}

void TCanvas::TextOut(int X, int Y, const std::string& Text) {
    const TFontHandle& font = CurrentFont();
    std::vector<int> advances;
    font.Advances(Text, advances);
    long long textWidth = 0;
    for (int a : advances) textWidth += a;

    const TLogFont& lf = font.LogFont();
    const long double esc = TenthsToRadians(lf.Escapement);
    const long double c = std::cos(esc), s = std::sin(esc);
    if (Brush.Style() == bsSolid && !Text.empty())
        FillTextRect(X, Y, c, s, 0, 0, textWidth, font.Height(), Brush.Color());

    const TColor ink = Font.Color;
    const std::uint8_t inkRgb[3] = {GetRValue(ink), GetGValue(ink), GetBValue(ink)};
    auto blend = [&](int x, int y, unsigned alpha) {
        if (x < 0 || y < 0 || x >= Width() || y >= Height() || alpha == 0) return;
        std::uint8_t* p = &target_->Rgb[(static_cast<std::size_t>(y) * Width() + x) * 3];
        for (int k = 0; k < 3; ++k)
            p[k] =
                static_cast<std::uint8_t>((p[k] * (255 - alpha) + inkRgb[k] * alpha + 127) / 255);
    };
    // The glyph's rows clipped once, then blended pixel after pixel along each row.
    auto blendRows = [&](const detail::TFontFace::Glyph& glyph, int left, int top) {
        const int col0 = std::max(0, -left), col1 = std::min(glyph.Width, Width() - left);
        const int row0 = std::max(0, -top), row1 = std::min(glyph.Rows, Height() - top);
        const std::size_t stride = static_cast<std::size_t>(Width()) * 3;
        for (int row = row0; row < row1; ++row) {
            const std::uint8_t* alpha =
                glyph.Alpha.data() + static_cast<std::size_t>(row) * glyph.Width;
            std::uint8_t* p = target_->Rgb.data() + (top + row) * stride;
            for (int col = col0; col < col1; ++col) {
                const unsigned a = alpha[col];
                if (a == 0) continue;
                std::uint8_t* q = p + static_cast<std::size_t>(left + col) * 3;
                for (int k = 0; k < 3; ++k)
                    q[k] =
                        static_cast<std::uint8_t>((q[k] * (255 - a) + inkRgb[k] * a + 127) / 255);
            }
        }
    };
    // The glyphs are found (and rendered the first time) under the face's lock and blended
    // after it, each held by this call even if the cache lets it go meanwhile.
    struct Placed {
        std::shared_ptr<const detail::TFontFace::Glyph> Glyph;
        int Left, Top;
    };
    thread_local std::vector<Placed> placed;
    placed.clear();

    const bool mono = lf.Quality == NONANTIALIASED_QUALITY;
    const long double ori = TenthsToRadians(lf.Orientation);
    const long double oc = std::cos(ori), os = std::sin(ori);
    const long double slant = font.syntheticItalic_ ? SyntheticSlant : 0.0L;
    // FreeType's y axis points up: a counter-clockwise turn, after the slant of a synthetic italic.
    FT_Matrix matrix{ToFixed(oc), ToFixed(oc * slant - os), ToFixed(os), ToFixed(os * slant + oc)};
    {
        detail::TFontFace& f = *font.face_;
        const std::lock_guard guard(f.Lock);
        bool sized = false;
        const std::uint8_t flags = static_cast<std::uint8_t>(
            (font.syntheticBold_ ? 1 : 0) | (font.syntheticItalic_ ? 2 : 0) | (mono ? 4 : 0));
        long long pen = 0;
        for (std::size_t i = 0; i < Text.size(); pen += advances[i], ++i) {
            // The glyph's origin on the baseline, Ascent below the top of its cell.
            const long double gx = X + pen * c + font.Ascent() * s;
            const long double gy = Y - pen * s + font.Ascent() * c;
            const long double ix = std::floor(gx), iy = std::floor(gy);
            if (std::fabs(ix) > 1e9L || std::fabs(iy) > 1e9L) continue;
            const unsigned char byte = static_cast<unsigned char>(Text[i]);
            const detail::TFontFace::GlyphKey key{font.emPixels_,
                                                  font.widthPixels_,
                                                  lf.Orientation,
                                                  flags,
                                                  byte,
                                                  static_cast<int>(std::llround((gx - ix) * 64)),
                                                  static_cast<int>(std::llround((gy - iy) * 64))};
            auto found = f.Glyphs.find(key);
            if (found == f.Glyphs.end()) {
                if (!sized) {
                    FT_Set_Pixel_Sizes(f.Face, font.widthPixels_, font.emPixels_);
                    sized = true;
                }
                FT_Vector delta{key.DeltaX, -key.DeltaY};  // FreeType's y axis points up
                FT_Set_Transform(f.Face, &matrix, &delta);
                const FT_Int32 load = FT_LOAD_DEFAULT | (mono ? FT_LOAD_TARGET_MONO : 0);
                detail::TFontFace::Glyph glyph;
                if (FT_Load_Char(f.Face, detail::Cp1252ToUnicode(byte), load) == 0) {
                    FT_GlyphSlot slot = f.Face->glyph;
                    if (font.syntheticBold_) FT_GlyphSlot_Embolden(slot);
                    if (FT_Render_Glyph(slot, mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) ==
                        0) {
                        const FT_Bitmap& bm = slot->bitmap;
                        glyph.Left = slot->bitmap_left;
                        glyph.Top = slot->bitmap_top;
                        glyph.Width = static_cast<int>(bm.width);
                        glyph.Rows = static_cast<int>(bm.rows);
                        glyph.Alpha.resize(static_cast<std::size_t>(bm.width) * bm.rows);
                        for (unsigned row = 0; row < bm.rows; ++row) {
                            const unsigned char* line =
                                bm.buffer + static_cast<long>(row) * bm.pitch;
                            for (unsigned col = 0; col < bm.width; ++col)
                                glyph.Alpha[row * bm.width + col] =
                                    bm.pixel_mode == FT_PIXEL_MODE_MONO
                                        ? ((line[col >> 3] & (0x80 >> (col & 7))) ? 255 : 0)
                                        : line[col];
                        }
                    }
                }
                if (f.Glyphs.size() >= detail::TFontFace::MaxGlyphs) f.Glyphs.clear();
                found =
                    f.Glyphs
                        .emplace(key,
                                 std::make_shared<const detail::TFontFace::Glyph>(std::move(glyph)))
                        .first;
            }
            const auto& glyph = found->second;
            placed.push_back(
                {glyph, static_cast<int>(ix) + glyph->Left, static_cast<int>(iy) - glyph->Top});
        }
        if (sized) FT_Set_Transform(f.Face, nullptr, nullptr);
    }
    for (const Placed& p : placed) {
        const detail::TFontFace::Glyph& glyph = *p.Glyph;
        if (detail::FastPaths) {
            blendRows(glyph, p.Left, p.Top);
            continue;
        }
        for (int row = 0; row < glyph.Rows; ++row)
            for (int col = 0; col < glyph.Width; ++col)
                blend(p.Left + col, p.Top + row,
                      glyph.Alpha[static_cast<std::size_t>(row) * glyph.Width + col]);
    }
    placed.clear();

    if ((lf.Underline || lf.StrikeOut) && textWidth > 0) {
        const detail::TFontFace& f = *font.face_;
        const long double scale = static_cast<long double>(font.emPixels_) / f.UnitsPerEm;
        const long double baseline = font.Ascent();
        if (lf.Underline) {
            const long double thick = std::max(1.0L, std::round(f.UnderlineThickness * scale));
            const long double top =
                baseline - std::round(f.UnderlinePosition * scale) - std::floor(thick / 2);
            FillTextRect(X, Y, c, s, 0, top, textWidth, top + thick, ink);
        }
        if (lf.StrikeOut) {
            const long double thick = std::max(1.0L, std::round(f.StrikeoutSize * scale));
            const long double top = baseline - std::round(f.StrikeoutPosition * scale);
            FillTextRect(X, Y, c, s, 0, top, textWidth, top + thick, ink);
        }
    }
}

}  // namespace ribbon
