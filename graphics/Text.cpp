// Text on the canvas: font objects made from logical descriptions, measuring, and opaque,
// rotated text through FreeType.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <optional>

#include "base/Exceptions.h"
#include "graphics/Canvas.h"
#include "graphics/FontCache.h"
#include FT_SYNTHESIS_H
#include "base/Format.h"
#include "graphics/Rasterizer.h"
#include "graphics/TextRuns.h"

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

struct SinCos {
    long double s, c;
};

// The sine and cosine of an angle in tenths of a degree; those of 0, which upright text turns
// by, are known.
SinCos Turn(int Tenths) {
    if (Tenths == 0) return {0.0L, 1.0L};
    const long double a = TenthsToRadians(Tenths);
    return {std::sin(a), std::cos(a)};
}

// The interior of the polygon of four corners when they make an upright rectangle: the scan
// conversion covers the columns and rows from the smaller corner up to, not including, the larger.
bool UprightCorners(const TPoint (&p)[4], TRect& r) {
    const bool across =
        p[0].Y == p[1].Y && p[1].X == p[2].X && p[2].Y == p[3].Y && p[3].X == p[0].X;
    const bool down = p[0].X == p[1].X && p[1].Y == p[2].Y && p[2].X == p[3].X && p[3].Y == p[0].Y;
    if (!across && !down) return false;
    const long long x0 = std::min(p[0].X, p[2].X), x1 = std::max(p[0].X, p[2].X) - 1LL;
    const long long y0 = std::min(p[0].Y, p[2].Y), y1 = std::max(p[0].Y, p[2].Y) - 1LL;
    if (x0 > x1 || y0 > y1) {
        r = {0, 0, -1, -1};  // empty
        return true;
    }
    r = {static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1), static_cast<int>(y1)};
    return true;
}

// x / 255 for every x a blend makes (at most 255 * 255 + 127), without dividing.
constexpr unsigned Div255(unsigned x) {
    return (x + 1 + (x >> 8)) >> 8;
}
constexpr bool Div255Exact() {
    for (unsigned x = 0; x <= 255 * 255 + 127; ++x)
        if (Div255(x) != x / 255) return false;
    return true;
}
static_assert(Div255Exact());

FT_Fixed ToFixed(long double v) {
    return static_cast<FT_Fixed>(std::llround(v * 65536.0L));
}

// The ink of a text.
struct TInkBytes {
    explicit TInkBytes(const std::uint8_t (&Ink)[3]) : Rgb{Ink[0], Ink[1], Ink[2]} {}
    std::uint8_t Rgb[3];
};

// Blends Count pixels of a glyph row in the ink, exactly as each pixel alone would be:
// (q * (255 - a) + ink * a + 127) / 255 per channel. Uncovered pixels are left as they are,
// fully covered ones take the ink.
void BlendRow(std::uint8_t* q, const std::uint8_t* alpha, int Count, const TInkBytes& Ink) {
    const std::uint8_t* ink = Ink.Rgb;
    for (int i = 0; i < Count; ++i, q += 3) {
        const unsigned a = alpha[i];
        if (a == 0) continue;
        if (a == 255) {
            q[0] = ink[0];
            q[1] = ink[1];
            q[2] = ink[2];
            continue;
        }
        const unsigned keep = 255 - a;
        q[0] = static_cast<std::uint8_t>(Div255(q[0] * keep + ink[0] * a + 127));
        q[1] = static_cast<std::uint8_t>(Div255(q[1] * keep + ink[1] * a + 127));
        q[2] = static_cast<std::uint8_t>(Div255(q[2] * keep + ink[2] * a + 127));
    }
}

}  // namespace

TFontHandle::TFontHandle(const TLogFont& LogFont) : log_(LogFont) {
    for (auto& a : advances_) a.store(-1, std::memory_order_relaxed);
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
        advances_[byte].store(table[byte], std::memory_order_relaxed);
    }
}

TSize TFontHandle::TextExtent(const std::string& Text) const {
    long long width = 0;
    for (char ch : Text) {
        const int a = advances_[static_cast<unsigned char>(ch)].load(std::memory_order_relaxed);
        if (a < 0) {
            // A byte not measured before: all of them through the face.
            std::vector<int> advances;
            Advances(Text, advances);
            width = 0;
            for (int each : advances) width += each;
            break;
        }
        width += a;
    }
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
                           TColor Color, TPoint (&Corners)[4]) {
    auto at = [&](long double u, long double v) {
        return TPoint{static_cast<int>(RoundToInt(X + u * C + v * S)),
                      static_cast<int>(RoundToInt(Y - u * S + v * C))};
    };
    Corners[0] = at(U0, V0);
    Corners[1] = at(U1, V0);
    Corners[2] = at(U1, V1);
    Corners[3] = at(U0, V1);
    TRect r;
    if (detail::FastPaths && UprightCorners(Corners, r)) {
        // The interior of an upright rectangle: its first row filled, the others copied.
        r = {std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, Width() - 1),
             std::min(r.Bottom, Height() - 1)};
        if (r.Left <= r.Right && r.Top <= r.Bottom) FillClipped(r, Color);
        return;
    }
    detail::ScanPolygon(Corners, TRect{0, 0, Width(), Height()},
                        [&](int y, int x0, int x1) { FillSpan(y, x0, x1, Color); });
}

void TCanvas::TextOut(int X, int Y, const std::string& Text) {
    const TFontHandle& font = CurrentFont();
    if (detail::FastPaths && Brush.Style() == bsSolid && DrawTextRun(font, X, Y, Text)) return;
    DrawText(font, X, Y, Text, Font.Color, Brush.Style() == bsSolid, Brush.Color(), nullptr);
}

void TCanvas::DrawText(const TFontHandle& font, int X, int Y, const std::string& Text, TColor ink,
                       bool Opaque, TColor Back, detail::TTextLayout* Layout) {
    std::vector<int> advances;
    font.Advances(Text, advances);
    long long textWidth = 0;
    for (int a : advances) textWidth += a;

    const TLogFont& lf = font.LogFont();
    const SinCos esc = Turn(lf.Escapement);
    const long double c = esc.c, s = esc.s;
    TPoint corners[4];
    if (Opaque && !Text.empty()) {
        FillTextRect(X, Y, c, s, 0, 0, textWidth, font.Height(), Back, corners);
        if (Layout) {
            Layout->Filled = true;
            std::copy(corners, corners + 4, Layout->Fill);
        }
    }

    const std::uint8_t inkRgb[3] = {GetRValue(ink), GetGValue(ink), GetBValue(ink)};
    const TInkBytes inkBytes(inkRgb);
    auto blend = [&](int x, int y, unsigned alpha) {
        if (x < 0 || y < 0 || x >= Width() || y >= Height() || alpha == 0) return;
        std::uint8_t* p = &target_->Rgb[(static_cast<std::size_t>(y) * Width() + x) * 3];
        for (int k = 0; k < 3; ++k)
            p[k] =
                static_cast<std::uint8_t>((p[k] * (255 - alpha) + inkRgb[k] * alpha + 127) / 255);
    };
    // The glyph's rows clipped once, then blended a row at a time.
    auto blendRows = [&](const detail::TFontFace::Glyph& glyph, int left, int top) {
        const int col0 = std::max(0, -left), col1 = std::min(glyph.Width, Width() - left);
        const int row0 = std::max(0, -top), row1 = std::min(glyph.Rows, Height() - top);
        if (col0 >= col1) return;  // nothing of it on the surface (which may have no pixels)
        const std::size_t stride = static_cast<std::size_t>(Width()) * 3;
        for (int row = row0; row < row1; ++row)
            BlendRow(target_->Rgb.data() + (top + row) * stride +
                         static_cast<std::size_t>(left + col0) * 3,
                     glyph.Alpha.data() + static_cast<std::size_t>(row) * glyph.Width + col0,
                     col1 - col0, inkBytes);
    };
    // The glyphs are found (and rendered the first time) under the face's lock and blended
    // after it, each held by this call even if the cache lets it go meanwhile.
    thread_local std::vector<detail::TPlacedGlyph> ownPlaced;
    std::vector<detail::TPlacedGlyph>& placed = Layout ? Layout->Glyphs : ownPlaced;
    placed.clear();

    const bool mono = lf.Quality == NONANTIALIASED_QUALITY;
    const SinCos ori = Turn(lf.Orientation);
    const long double oc = ori.c, os = ori.s;
    const long double slant = font.syntheticItalic_ ? SyntheticSlant : 0.0L;
    // FreeType's y axis points up: a counter-clockwise turn, after the slant of a synthetic italic.
    FT_Matrix matrix{ToFixed(oc), ToFixed(oc * slant - os), ToFixed(os), ToFixed(os * slant + oc)};
    {
        detail::TFontFace& f = *font.face_;
        const std::lock_guard guard(f.Lock);
        bool sized = false;
        const std::uint8_t flags = static_cast<std::uint8_t>(
            (font.syntheticBold_ ? 1 : 0) | (font.syntheticItalic_ ? 2 : 0) | (mono ? 4 : 0));
        // Upright, every origin is a whole pixel (the cosine is 1 and the sine 0 exactly), the
        // same glyph serves every place, and the font keeps it by byte.
        const bool upright = detail::FastPaths && lf.Escapement == 0;
        if (upright && !font.upright_) font.upright_ = std::make_unique<detail::TGlyphSlots>();
        long long pen = 0;
        for (std::size_t i = 0; i < Text.size(); pen += advances[i], ++i) {
            const unsigned char byte = static_cast<unsigned char>(Text[i]);
            // The glyph's origin on the baseline, Ascent below the top of its cell.
            long long ix, iy;
            int deltaX = 0, deltaY = 0;
            std::shared_ptr<const detail::TFontFace::Glyph>* slot = nullptr;
            if (upright) {
                ix = X + pen;
                iy = static_cast<long long>(Y) + font.Ascent();
                if (ix > 1000000000 || ix < -1000000000 || iy > 1000000000 || iy < -1000000000)
                    continue;
                slot = &font.upright_->Slots[byte];
                if (*slot) {
                    placed.push_back({*slot, static_cast<int>(ix) + (*slot)->Left,
                                      static_cast<int>(iy) - (*slot)->Top});
                    continue;
                }
            } else {
                const long double gx = X + pen * c + font.Ascent() * s;
                const long double gy = Y - pen * s + font.Ascent() * c;
                const long double fx = std::floor(gx), fy = std::floor(gy);
                if (std::fabs(fx) > 1e9L || std::fabs(fy) > 1e9L) continue;
                ix = static_cast<long long>(fx);
                iy = static_cast<long long>(fy);
                deltaX = static_cast<int>(std::llround((gx - fx) * 64));
                deltaY = static_cast<int>(std::llround((gy - fy) * 64));
            }
            const detail::TFontFace::GlyphKey key{
                font.emPixels_, font.widthPixels_, lf.Orientation, flags, byte, deltaX, deltaY};
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
            if (slot) *slot = glyph;
            placed.push_back(
                {glyph, static_cast<int>(ix) + glyph->Left, static_cast<int>(iy) - glyph->Top});
        }
        if (sized) FT_Set_Transform(f.Face, nullptr, nullptr);
    }
    for (const detail::TPlacedGlyph& p : placed) {
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
    if (!Layout) placed.clear();

    if ((lf.Underline || lf.StrikeOut) && textWidth > 0) {
        const detail::TFontFace& f = *font.face_;
        auto line = [&](detail::TFontFace::LineBand band) {
            FillTextRect(X, Y, c, s, 0, band.Top, textWidth, band.Top + band.Thick, ink, corners);
            if (Layout) std::copy(corners, corners + 4, Layout->Lines[Layout->LineCount++]);
        };
        if (lf.Underline) line(f.Underline(font.emPixels_, font.Ascent()));
        if (lf.StrikeOut) line(f.StrikeOut(font.emPixels_, font.Ascent()));
    }
}

namespace {

// Upright runs are kept only where moving them cannot reach the edge of the coordinates.
constexpr int MaxUprightPlace = 1 << 28;

// Rows of Bytes each, in blocks of N bytes, the last block of a row overlapping the one before.
template <std::size_t N>
void CopyRowsInBlocks(std::uint8_t* To, std::size_t ToStride, const std::uint8_t* From,
                      std::size_t FromStride, std::size_t Bytes, std::size_t Rows) {
    std::uint8_t block[N];
    for (; Rows > 0; --Rows, To += ToStride, From += FromStride) {
        for (std::size_t i = 0; i + N < Bytes; i += N) {
            std::memcpy(block, From + i, N);
            std::memcpy(To + i, block, N);
        }
        std::memcpy(block, From + Bytes - N, N);
        std::memcpy(To + Bytes - N, block, N);
    }
}

// Turned text copies many short rows: those without a library call each.
void CopyRows(std::uint8_t* To, std::size_t ToStride, const std::uint8_t* From,
              std::size_t FromStride, std::size_t Bytes, std::size_t Rows) {
    if (Bytes >= 16 && Bytes <= 64)
        CopyRowsInBlocks<16>(To, ToStride, From, FromStride, Bytes, Rows);
    else if (Bytes >= 8 && Bytes < 16)
        CopyRowsInBlocks<8>(To, ToStride, From, FromStride, Bytes, Rows);
    else
        for (; Rows > 0; --Rows, To += ToStride, From += FromStride) std::memcpy(To, From, Bytes);
}

// Whether the spans make a rectangle whose rows follow each other in the pixels.
bool SpansMakeRectangle(const std::vector<detail::TTextRun::Span>& Spans) {
    for (std::size_t i = 1; i < Spans.size(); ++i) {
        const auto &a = Spans[i - 1], &b = Spans[i];
        if (b.Y != a.Y + 1 || b.X0 != a.X0 || b.X1 != a.X1 ||
            b.Offset != a.Offset + static_cast<std::size_t>(a.X1 - a.X0 + 1) * 3)
            return false;
    }
    return !Spans.empty() && Spans.front().Offset == 0;
}

// Whether Inside(x, y) holds for every pixel that the glyphs ink. RowInside(y, x0, x1) tells
// whether it holds for x0..x1 of row y at once, so that only rows reaching out are looked at
// pixel by pixel.
template <typename RowInsideFn, typename InsideFn>
bool InkInside(const std::vector<detail::TPlacedGlyph>& Glyphs, RowInsideFn&& RowInside,
               InsideFn&& Inside) {
    for (const detail::TPlacedGlyph& p : Glyphs) {
        const detail::TFontFace::Glyph& g = *p.Glyph;
        for (int row = 0; row < g.Rows; ++row) {
            const long long y = static_cast<long long>(p.Top) + row;
            if (g.Width == 0 || RowInside(y, p.Left, p.Left + g.Width - 1LL)) continue;
            const std::uint8_t* alpha = g.Alpha.data() + static_cast<std::size_t>(row) * g.Width;
            for (int col = 0; col < g.Width; ++col)
                if (alpha[col] != 0 && !Inside(static_cast<long long>(p.Left) + col, y))
                    return false;
        }
    }
    return true;
}

}  // namespace

bool TCanvas::DrawTextRun(const TFontHandle& font, int X, int Y, const std::string& Text) {
    const TLogFont& lf = font.LogFont();
    if (Text.empty() || Text.size() > detail::TTextRunCache::MaxTextBytes) return false;
    const bool upright = lf.Escapement == 0;
    if (upright && (X < -MaxUprightPlace || X > MaxUprightPlace || Y < -MaxUprightPlace ||
                    Y > MaxUprightPlace))
        return false;
    detail::TTextRunKey key;
    key.Face = font.face_.get();
    key.EmPixels = font.emPixels_;
    key.WidthPixels = font.widthPixels_;
    key.Ascent = font.ascent_;
    key.Descent = font.descent_;
    key.Escapement = lf.Escapement;
    key.Orientation = lf.Orientation;
    key.Flags = (font.syntheticBold_ ? 1 : 0) | (font.syntheticItalic_ ? 2 : 0) |
                (lf.Quality == NONANTIALIASED_QUALITY ? 4 : 0) | (lf.Underline ? 8 : 0) |
                (lf.StrikeOut ? 16 : 0);
    key.Ink = Font.Color;
    key.Back = Brush.Color();
    if (!upright) {
        key.X = X;
        key.Y = Y;
        key.SurfaceWidth = Width();
        key.SurfaceHeight = Height();
    }
    key.Text = Text;
    std::size_t hash = 0;
    detail::TTextRunCache& cache = detail::TTextRunCache::ForThread();
    const detail::TTextRun* run = cache.Find(key, hash);
    if (!run) {
        detail::TTextRun made;
        if (upright) {
            std::vector<int> advances;
            font.Advances(Text, advances);
            long long width = 0;
            for (int a : advances) width += a;
            const long long height = font.Height();
            // Drawn in place when the whole cell is on the surface, else apart, at the origin of a
            // surface just the size of the cell.
            const bool inPlace = X >= 0 && Y >= 0 && X + width <= Width() && Y + height <= Height();
            if (width > 0 && height > 0 &&
                width * height * 3 <= static_cast<long long>(detail::TTextRunCache::MaxRunBytes)) {
                thread_local TPixelBuffer scratch;
                std::optional<TCanvas> apart;
                if (!inPlace) {
                    scratch.Width = static_cast<int>(width);
                    scratch.Height = static_cast<int>(height);
                    scratch.Rgb.assign(static_cast<std::size_t>(width * height * 3), 0);
                    apart.emplace(scratch, ppi_);
                }
                TCanvas& on = inPlace ? *this : *apart;
                const int x = inPlace ? X : 0, y = inPlace ? Y : 0;
                detail::TTextLayout layout;
                on.DrawText(font, x, y, Text, key.Ink, true, key.Back, &layout);
                auto inCell = [&](long long px, long long py) {
                    return px >= x && px < x + width && py >= y && py < y + height;
                };
                TRect line;
                bool usable = InkInside(
                    layout.Glyphs,
                    [&](long long py, long long px0, long long px1) {
                        return inCell(px0, py) && inCell(px1, py);
                    },
                    inCell);
                for (int i = 0; i < layout.LineCount && usable; ++i)
                    usable = UprightCorners(layout.Lines[i], line) &&
                             (line.Left > line.Right ||
                              (inCell(line.Left, line.Top) && inCell(line.Right, line.Bottom)));
                if (usable) {
                    made.Usable = made.Rectangle = true;
                    const std::size_t bytes = static_cast<std::size_t>(width) * 3;
                    const std::size_t stride = static_cast<std::size_t>(on.Width()) * 3;
                    made.Rgb.resize(bytes * height);
                    made.Spans.resize(static_cast<std::size_t>(height));
                    for (int row = 0; row < height; ++row) {
                        made.Spans[row] = {row, 0, static_cast<int>(width) - 1, row * bytes};
                        std::memcpy(made.Rgb.data() + row * bytes,
                                    on.target_->Rgb.data() + (y + row) * stride + x * 3, bytes);
                    }
                }
                if (inPlace) {
                    cache.Add(key, hash, font.face_, std::move(made));
                    return true;
                }
            }
            run = &cache.Add(key, hash, font.face_, std::move(made));
        } else {
            // Turned text is drawn here the long way, then what it drew is kept.
            detail::TTextLayout layout;
            DrawText(font, X, Y, Text, key.Ink, true, key.Back, &layout);
            const TRect clip{0, 0, Width(), Height()};
            // The cell's span on each row it covers (a turned rectangle crosses a row once).
            long long first = 0;
            std::vector<std::pair<int, int>> rows;
            bool usable = layout.Filled;
            if (usable)
                detail::ScanPolygon(layout.Fill, clip, [&](int y, int x0, int x1) {
                    if (rows.empty()) first = y;
                    if (y - first != static_cast<long long>(rows.size()))
                        usable = false;
                    else
                        rows.emplace_back(x0, x1);
                });
            auto inCell = [&](long long x, long long y) {
                const long long r = y - first;
                return r >= 0 && r < static_cast<long long>(rows.size()) && x >= rows[r].first &&
                       x <= rows[r].second;
            };
            // Ink off the surface is never drawn.
            auto offSurfaceOrInCell = [&](long long x, long long y) {
                return x < 0 || y < 0 || x >= Width() || y >= Height() || inCell(x, y);
            };
            usable = usable && InkInside(
                                   layout.Glyphs,
                                   [&](long long y, long long x0, long long x1) {
                                       // Rows off the surface, or inside the cell's span there.
                                       return y < 0 || y >= Height() || (x1 < 0 || x0 >= Width()) ||
                                              (inCell(std::max(x0, 0LL), y) &&
                                               inCell(std::min<long long>(x1, Width() - 1), y));
                                   },
                                   offSurfaceOrInCell);
            for (int i = 0; i < layout.LineCount && usable; ++i)
                detail::ScanPolygon(layout.Lines[i], clip, [&](int y, int x0, int x1) {
                    usable = usable && inCell(x0, y) && inCell(x1, y);
                });
            std::size_t pixels = 0;
            for (const auto& [x0, x1] : rows) pixels += static_cast<std::size_t>(x1 - x0 + 1);
            if (usable && pixels * 3 <= detail::TTextRunCache::MaxRunBytes) {
                made.Usable = true;
                const std::size_t stride = static_cast<std::size_t>(Width()) * 3;
                for (std::size_t r = 0; r < rows.size(); ++r) {
                    const int y = static_cast<int>(first + static_cast<long long>(r));
                    const auto [x0, x1] = rows[r];
                    made.Spans.push_back({y, x0, x1, made.Rgb.size()});
                    const std::uint8_t* from =
                        target_->Rgb.data() + y * stride + static_cast<std::size_t>(x0) * 3;
                    made.Rgb.insert(made.Rgb.end(), from,
                                    from + static_cast<std::size_t>(x1 - x0 + 1) * 3);
                }
            }
            made.Rectangle = made.Usable && SpansMakeRectangle(made.Spans);
            cache.Add(key, hash, font.face_, std::move(made));
            return true;
        }
    }
    if (!run->Usable) return false;
    // Upright runs are placed at (X, Y) and clipped here; turned ones were kept in place.
    const long long dx = upright ? X : 0, dy = upright ? Y : 0;
    const std::size_t stride = static_cast<std::size_t>(Width()) * 3;
    if (run->Rectangle) {
        const detail::TTextRun::Span& first = run->Spans.front();
        const long long left = dx + first.X0, top = dy + first.Y;
        const long long x0 = std::max(left, 0LL), x1 = std::min(dx + first.X1, Width() - 1LL);
        const long long y0 = std::max(top, 0LL),
                        y1 = std::min(top + static_cast<long long>(run->Spans.size()) - 1,
                                      Height() - 1LL);
        if (x0 <= x1 && y0 <= y1) {
            const std::size_t runStride = static_cast<std::size_t>(first.X1 - first.X0 + 1) * 3;
            CopyRows(target_->Rgb.data() + y0 * stride + x0 * 3, stride,
                     run->Rgb.data() + (y0 - top) * runStride + (x0 - left) * 3, runStride,
                     static_cast<std::size_t>(x1 - x0 + 1) * 3,
                     static_cast<std::size_t>(y1 - y0 + 1));
        }
        ++cache.Hits;
        return true;
    }
    for (const detail::TTextRun::Span& span : run->Spans) {
        const long long y = dy + span.Y;
        if (y < 0 || y >= Height()) continue;
        const long long x0 = std::max<long long>(dx + span.X0, 0);
        const long long x1 = std::min<long long>(dx + span.X1, Width() - 1LL);
        if (x0 > x1) continue;
        CopyRows(target_->Rgb.data() + y * stride + x0 * 3, 0,
                 run->Rgb.data() + span.Offset + (x0 - dx - span.X0) * 3, 0,
                 static_cast<std::size_t>(x1 - x0 + 1) * 3, 1);
    }
    ++cache.Hits;
    return true;
}

}  // namespace ribbon
