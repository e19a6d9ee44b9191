// The canvas operations as cairo paths and glyphs.

#include "vector/VectorCanvas.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <numbers>
#include <vector>

#include "base/Exceptions.h"
#include "base/Format.h"
#include "graphics/FontCache.h"
#include "graphics/Rasterizer.h"

namespace ribbon {

namespace {

// The slant of a synthetic italic; the raster text uses the same.
constexpr long double SyntheticSlant = 0.2L;

long double TenthsToRadians(int Tenths) {
    return static_cast<long double>(Tenths) / 1800.0L * std::numbers::pi_v<long double>;
}

// cairo keeps coordinates in 24.8 fixed point and wraps beyond it, so everything is cut to
// this reach first: far beyond any page (5000 mm at 9600 dpi is 1.9 million pixels), and within
// cairo's range at any scale a page uses.
constexpr double Reach = 4'000'000;

double InReach(double v) {
    return std::clamp(v, -Reach, Reach);
}

using Pt = detail::VectorPoint;

// The part of the polygon inside the reach (Sutherland-Hodgman against its four sides).
std::vector<Pt> ClipToReach(std::vector<Pt> poly) {
    const auto side = [&](auto inside, auto cross) {
        std::vector<Pt> out;
        for (std::size_t i = 0; i < poly.size(); ++i) {
            const Pt a = poly[i], b = poly[(i + 1) % poly.size()];
            if (inside(a)) out.push_back(a);
            if (inside(a) != inside(b)) out.push_back(cross(a, b));
        }
        poly = std::move(out);
    };
    const auto atX = [](double x) {
        return [x](Pt a, Pt b) { return Pt{x, a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x)}; };
    };
    const auto atY = [](double y) {
        return [y](Pt a, Pt b) { return Pt{a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y), y}; };
    };
    side([](Pt p) { return p.x >= -Reach; }, atX(-Reach));
    side([](Pt p) { return p.x <= Reach; }, atX(Reach));
    side([](Pt p) { return p.y >= -Reach; }, atY(-Reach));
    side([](Pt p) { return p.y <= Reach; }, atY(Reach));
    return poly;
}

// The segment cut to the reach (Liang-Barsky); false when none of it is inside.
bool SegmentInReach(Pt& a, Pt& b) {
    double t0 = 0, t1 = 1;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x + Reach, Reach - a.x, a.y + Reach, Reach - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
    b = {a.x + t1 * dx, a.y + t1 * dy};
    a = {a.x + t0 * dx, a.y + t0 * dy};
    return true;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

TVectorCanvas::TVectorCanvas(cairo_t* Context, int PixelsPerInchX, int PixelsPerInchY)
    : cr_(Context),
      ppiX_(PixelsPerInchX > 0 ? PixelsPerInchX : TCanvas::ScreenPixelsPerInch),
      ppi_(PixelsPerInchY > 0 ? PixelsPerInchY : TCanvas::ScreenPixelsPerInch) {
    // Glyph outlines as designed: the layout already carries the raster canvas's advances.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr_, options);
    cairo_font_options_destroy(options);
}

TVectorCanvas::~TVectorCanvas() {
    for (auto& [key, face] : faces_) cairo_font_face_destroy(face);
}

void TVectorCanvas::Source(TColor Color) {
    cairo_set_source_rgb(cr_, GetRValue(Color) / 255.0, GetGValue(Color) / 255.0,
                         GetBValue(Color) / 255.0);
}

void TVectorCanvas::Polygon(std::span<const TPoint> Points) {
    if (Points.size() < 2) return;
    const bool pen = Pen.Style == psSolid;
    const bool brush = Brush.Style() == bsSolid;
    TRect r;
    if (pen && Pen.Width <= 1 && brush && Brush.Color() == Pen.Color &&
        detail::UprightRectangle(Points, r)) {
        // Interior and outline in one colour: the corner pixels' columns and rows inclusive.
        Source(Pen.Color);
        const double x0 = InReach(r.Left), y0 = InReach(r.Top);
        cairo_rectangle(cr_, x0, y0, InReach(r.Right + 1.0) - x0, InReach(r.Bottom + 1.0) - y0);
        cairo_fill(cr_);
        return;
    }
    // A pixel's centre is its coordinate plus one half; a one-pixel pen along the centres
    // covers what the raster outline sets.
    if (brush) {
        std::vector<Pt> centres;
        for (const TPoint& p : Points) centres.push_back({p.X + 0.5, p.Y + 0.5});
        FillPath(ClipToReach(std::move(centres)), Brush.Color());
    }
    if (pen) {
        cairo_new_path(cr_);
        // Each edge on its own with square caps, so its end pixels are covered like the
        // raster's, also where two corners coincide.
        for (std::size_t i = 0; i < Points.size(); ++i) {
            const TPoint p = Points[i], q = Points[(i + 1) % Points.size()];
            Pt a{p.X + 0.5, p.Y + 0.5}, b{q.X + 0.5, q.Y + 0.5};
            if (!SegmentInReach(a, b)) continue;
            cairo_move_to(cr_, a.x, a.y);
            cairo_line_to(cr_, b.x, b.y);
        }
        cairo_set_line_width(cr_, std::max(Pen.Width, 1));
        cairo_set_line_cap(cr_, CAIRO_LINE_CAP_SQUARE);
        Source(Pen.Color);
        cairo_stroke(cr_);
    }
}

void TVectorCanvas::FillRect(const TRect& Rect) {
    if (Rect.Left >= Rect.Right || Rect.Top >= Rect.Bottom) return;
    Source(Brush.Color());
    const double x0 = InReach(Rect.Left), y0 = InReach(Rect.Top);
    cairo_rectangle(cr_, x0, y0, InReach(Rect.Right) - x0, InReach(Rect.Bottom) - y0);
    cairo_fill(cr_);
}

void TVectorCanvas::FillTextRect(long double X, long double Y, long double C, long double S,
                                 long double U0, long double V0, long double U1, long double V1,
                                 TColor Color) {
    auto at = [&](long double u, long double v) {
        return Pt{static_cast<double>(X + u * C + v * S), static_cast<double>(Y - u * S + v * C)};
    };
    FillPath(ClipToReach({at(U0, V0), at(U1, V0), at(U1, V1), at(U0, V1)}), Color);
}

void TVectorCanvas::FillPath(const std::vector<detail::VectorPoint>& Polygon, TColor Color) {
    if (Polygon.size() < 3) return;
    cairo_new_path(cr_);
    for (const Pt& p : Polygon) cairo_line_to(cr_, p.x, p.y);
    cairo_close_path(cr_);
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
    Source(Color);
    cairo_fill(cr_);
}

cairo_font_face_t* TVectorCanvas::FaceFor(const TFontHandle& Font) {
    const detail::TFontFace& f = *Font.face_;
    const auto key = std::make_tuple(f.File, f.Index, Font.syntheticBold_);
    if (auto it = faces_.find(key); it != faces_.end()) return it->second;
    // cairo opens its own copy of the file: the raster canvas's face may be busy on another
    // thread.
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) throw Exception(Format("%s", "Out of memory for a font."));
    FcPatternAddString(pattern, FC_FILE, reinterpret_cast<const FcChar8*>(f.File.c_str()));
    FcPatternAddInteger(pattern, FC_INDEX, f.Index);
    FcPatternAddBool(pattern, FC_EMBOLDEN, Font.syntheticBold_ ? FcTrue : FcFalse);
    cairo_font_face_t* face = cairo_ft_font_face_create_for_pattern(pattern);
    FcPatternDestroy(pattern);
    if (cairo_font_face_status(face) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(face);
        throw Exception(Format("The font file '%s' cannot be read.", f.File));
    }
    faces_.emplace(key, face);
    return face;
}

void TVectorCanvas::TextOut(int X, int Y, const std::string& Text) {
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

    // The glyphs sit where the raster canvas puts them: origin on the baseline, Ascent below
    // the top of the cell, advancing by the raster's hinted advances.
    std::vector<cairo_glyph_t> glyphs(Text.size());
    std::vector<cairo_text_cluster_t> clusters(Text.size());
    std::string utf8;
    {
        detail::TFontFace& f = *font.face_;
        const std::lock_guard guard(f.Lock);
        long long pen = 0;
        std::size_t n = 0;
        for (std::size_t i = 0; i < Text.size(); pen += advances[i], ++i) {
            const double gx = static_cast<double>(X + pen * c + font.Ascent() * s);
            const double gy = static_cast<double>(Y - pen * s + font.Ascent() * c);
            // A glyph is at most a few thousand pixels: one this far out is off every page.
            if (std::fabs(gx) > Reach / 2 || std::fabs(gy) > Reach / 2) continue;
            const char32_t code = detail::Cp1252ToUnicode(static_cast<unsigned char>(Text[i]));
            const std::size_t before = utf8.size();
            AppendUtf8(utf8, code);
            glyphs[n] = {FT_Get_Char_Index(f.Face, code), gx, gy};
            clusters[n++] = {static_cast<int>(utf8.size() - before), 1};
        }
        glyphs.resize(n);
        clusters.resize(n);
    }
    if (!glyphs.empty()) {
        const long double ori = TenthsToRadians(lf.Orientation);
        const double oc = static_cast<double>(std::cos(ori)),
                     os = static_cast<double>(std::sin(ori));
        const double slant = font.syntheticItalic_ ? static_cast<double>(SyntheticSlant) : 0.0;
        // Font space has y downwards: slant, scale to the em, then turn counter-clockwise.
        cairo_matrix_t shape, turn, matrix;
        cairo_matrix_init(&shape, font.widthPixels_, 0, -slant * font.emPixels_, font.emPixels_, 0,
                          0);
        cairo_matrix_init(&turn, oc, -os, os, oc, 0, 0);
        cairo_matrix_multiply(&matrix, &shape, &turn);
        cairo_set_font_face(cr_, FaceFor(font));
        cairo_set_font_matrix(cr_, &matrix);
        Source(Font.Color);
        cairo_show_text_glyphs(cr_, utf8.data(), static_cast<int>(utf8.size()), glyphs.data(),
                               static_cast<int>(glyphs.size()), clusters.data(),
                               static_cast<int>(clusters.size()), cairo_text_cluster_flags_t{});
    }

    if ((lf.Underline || lf.StrikeOut) && textWidth > 0) {
        const detail::TFontFace& f = *font.face_;
        auto line = [&](detail::TFontFace::LineBand band) {
            FillTextRect(X, Y, c, s, 0, band.Top, textWidth, band.Top + band.Thick, Font.Color);
        };
        if (lf.Underline) line(f.Underline(font.emPixels_, font.Ascent()));
        if (lf.StrikeOut) line(f.StrikeOut(font.emPixels_, font.Ascent()));
    }
}

}  // namespace ribbon
