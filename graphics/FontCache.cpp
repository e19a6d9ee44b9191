#include "graphics/FontCache.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string_view>
#include <tuple>
#include <utility>

#include FT_TRUETYPE_TABLES_H

#include "base/Exceptions.h"
#include "base/Format.h"
#include "graphics/FaceResolver.h"

namespace ribbon::detail {

namespace {

constexpr std::string_view DefaultFamily = "DejaVu Sans";

// Face names that applications ask for, with the installed family nearest to each.
constexpr std::pair<std::string_view, std::string_view> Substitutes[] = {
    {"courier", "Liberation Mono"},
    {"courier new", "Liberation Mono"},
    {"lucida console", "Liberation Mono"},
    {"consolas", "Liberation Mono"},
    {"fixedsys", "Liberation Mono"},
    {"arial", "Liberation Sans"},
    {"helvetica", "Liberation Sans"},
    {"ms sans serif", "Liberation Sans"},
    {"microsoft sans serif", "Liberation Sans"},
    {"small fonts", "Liberation Sans"},
    {"arial narrow", "Liberation Sans Narrow"},
    {"times", "Liberation Serif"},
    {"times new roman", "Liberation Serif"},
    {"ms serif", "Liberation Serif"},
    // Wide humanist sans faces: DejaVu descends from Bitstream Vera, drawn in the same spirit.
    {"tahoma", "DejaVu Sans"},
    {"verdana", "DejaVu Sans"},
    {"verdand", "DejaVu Sans"},
    {"segoe ui", "DejaVu Sans"},
    // A condensed grotesque; the condensed sans is the nearest installed shape.
    {"impact", "DejaVu Sans Condensed"},
};

std::string Lower(std::string_view s) {
    std::string out;
    for (char c : s) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string Trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

struct Library {
    FT_Library ft = nullptr;
    std::mutex lock;  // guards ft (faces are opened and closed one at a time) and the maps
    std::map<std::tuple<std::string, bool, bool>, std::shared_ptr<TFontFace>> byRequest;
    std::map<std::pair<std::string, int>, std::shared_ptr<TFontFace>> byFile;
};

// Never destroyed: faces may be in use by other threads while the process exits.
Library& TheLibrary() {
    static Library* library = [] {
        auto* lib = new Library;
        if (FT_Init_FreeType(&lib->ft) != 0) lib->ft = nullptr;
        return lib;
    }();
    return *library;
}

void ReadMetrics(TFontFace& f) {
    FT_Face face = f.Face;
    f.UnitsPerEm = face->units_per_EM > 0 ? face->units_per_EM : 1000;
    f.Ascent = face->ascender;
    f.Descent = -face->descender;
    if (face->underline_thickness > 0) {
        f.UnderlinePosition = face->underline_position;
        f.UnderlineThickness = face->underline_thickness;
    } else {
        f.UnderlinePosition = -f.UnitsPerEm / 10;
        f.UnderlineThickness = f.UnitsPerEm / 20;
    }
    f.StrikeoutPosition = f.UnitsPerEm / 4;
    f.StrikeoutSize = f.UnderlineThickness;
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        os2 && os2->version != 0xFFFF) {
        if (os2->usWinAscent + os2->usWinDescent > 0) {
            f.Ascent = os2->usWinAscent;
            f.Descent = os2->usWinDescent;
        }
        if (os2->yStrikeoutSize > 0) {
            f.StrikeoutPosition = os2->yStrikeoutPosition;
            f.StrikeoutSize = os2->yStrikeoutSize;
        }
        f.AverageWidth = os2->xAvgCharWidth;
    }
    if (f.Ascent + f.Descent <= 0) {
        f.Ascent = f.UnitsPerEm * 4 / 5;
        f.Descent = f.UnitsPerEm / 5;
    }
}

// The face in the file, opened once however many requests lead to it; null when FreeType
// cannot read it as a scalable face.
std::shared_ptr<TFontFace> OpenFace(Library& lib, const TFaceMatch& m) {
    std::shared_ptr<TFontFace>& shared = lib.byFile[{m.File, m.Index}];
    if (shared) return shared;
    auto face = std::make_shared<TFontFace>();
    if (FT_New_Face(lib.ft, m.File.c_str(), m.Index, &face->Face) != 0 || !face->Face ||
        !FT_IS_SCALABLE(face->Face)) {
        lib.byFile.erase({m.File, m.Index});
        return nullptr;
    }
    FT_Select_Charmap(face->Face, FT_ENCODING_UNICODE);
    face->File = m.File;
    face->Index = m.Index;
    face->Family = m.Family.empty() ? face->Face->family_name : m.Family;
    face->Style = m.Style.empty() ? face->Face->style_name : m.Style;
    face->Bold = m.Weight >= FC_WEIGHT_DEMIBOLD;
    face->Italic = m.Slant != FC_SLANT_ROMAN;
    ReadMetrics(*face);
    shared = std::move(face);
    return shared;
}

}  // namespace

TFontFace::~TFontFace() {
    if (Face) FT_Done_Face(Face);
}

std::string SubstituteFamily(const std::string& Name) {
    const std::string name = Trimmed(Name);
    if (name.empty()) return std::string(DefaultFamily);
    const std::string key = Lower(name);
    for (const auto& [from, to] : Substitutes)
        if (key == from) return std::string(to);
    return name;
}

std::shared_ptr<TFontFace> FindFace(const std::string& Name, bool Bold, bool Italic) {
    Library& lib = TheLibrary();
    const std::lock_guard guard(lib.lock);
    const auto request = std::make_tuple(Lower(Trimmed(Name)), Bold, Italic);
    if (auto it = lib.byRequest.find(request); it != lib.byRequest.end()) return it->second;
    if (!lib.ft) throw Exception(Format("%s", "The font engine could not be started."));

    // A cached answer whose file FreeType cannot open is asked of fontconfig again.
    for (const bool useCache : {true, false}) {
        auto m = ResolveFace(SubstituteFamily(Name), Bold, Italic, useCache);
        if (!m) m = ResolveFace(std::string(DefaultFamily), Bold, Italic, useCache);
        if (!m) throw Exception(Format("No installed font can stand in for '%s'.", Name));
        std::shared_ptr<TFontFace> face = OpenFace(lib, m->Match);
        if (!face && m->Source == TFaceSource::Cache) continue;
        if (!face) throw Exception(Format("The font file '%s' cannot be read.", m->Match.File));
        lib.byRequest[request] = face;
        return face;
    }
    return nullptr;  // not reached: fontconfig's own answer either opens or raises
}

char32_t Cp1252ToUnicode(unsigned char Byte) {
    // 0x80..0x9F hold punctuation and a few letters in Windows-1252; the five unassigned codes
    // keep their C1 values.
    static constexpr char16_t High[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    if (Byte >= 0x80 && Byte <= 0x9F) return High[Byte - 0x80];
    return Byte;
}

TFontFace::LineBand TFontFace::Underline(int EmPixels, long double Baseline) const {
    const long double scale = static_cast<long double>(EmPixels) / UnitsPerEm;
    const long double thick = std::max(1.0L, std::round(UnderlineThickness * scale));
    return {Baseline - std::round(UnderlinePosition * scale) - std::floor(thick / 2), thick};
}

TFontFace::LineBand TFontFace::StrikeOut(int EmPixels, long double Baseline) const {
    const long double scale = static_cast<long double>(EmPixels) / UnitsPerEm;
    return {Baseline - std::round(StrikeoutPosition * scale),
            std::max(1.0L, std::round(StrikeoutSize * scale))};
}

}  // namespace ribbon::detail

#if defined(__SANITIZE_ADDRESS__)
// fontconfig keeps a few blocks of its parsed configuration where the leak checker cannot see
// them; they are its own and live as long as the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
#endif
