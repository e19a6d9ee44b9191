#include "graphics/Graphics.h"

#include <array>
#include <cctype>
#include <cstdlib>
#include <limits>
#include <utility>

namespace ribbon {

namespace {

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// Windows' MulDiv: the product in 64 bits, the quotient rounded half away from zero.
int MulDiv(int number, int numerator, int denominator) {
    const long long p = static_cast<long long>(number) * numerator;
    const long long q = (std::llabs(p) * 2 + denominator) / (2LL * denominator);
    return static_cast<int>(p < 0 ? -q : q);
}

}  // namespace

std::optional<TColor> IdentToColor(std::string_view Name) {
    if (Name.size() > 2 && SameText(Name.substr(0, 2), "cl")) Name.remove_prefix(2);  // "clRed"
    for (const TColorName& entry : ColorNames)
        if (SameText(Name, entry.Name)) return entry.Value;
    return std::nullopt;
}

int TFont::PixelHeight(int PixelsPerInch) const {
    // A negative height asks for the em size; the most negative size has no positive twin.
    const int h = MulDiv(Size, PixelsPerInch, 72);
    return h == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max() : -h;
}

TLogFont TFont::LogFont(int PixelsPerInch) const {
    TLogFont lf;
    lf.Height = PixelHeight(PixelsPerInch);
    lf.Weight = Style.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.Italic = Style.Contains(fsItalic);
    lf.Underline = Style.Contains(fsUnderline);
    lf.StrikeOut = Style.Contains(fsStrikeOut);
    lf.CharSet = Charset;
    lf.FaceName = Name;
    return lf;
}

}  // namespace ribbon
