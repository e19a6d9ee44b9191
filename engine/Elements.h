#pragma once
// A symbol's pattern, read an element at a time.

#include <cstdint>

#include "engine/Edition.h"
#include "engine/Encoders.h"

namespace ribbon {
inline namespace RIBBON_EDITION {

enum class TElementKind : std::uint8_t { Space, Bar, ShortBar };

struct TElement {
    int Width;
    TElementKind Kind;
};

/// The pattern's alphabet: "0".."3" spaces, "5".."8" bars and "A".."D" bars that start three
/// fifths down, of the widths Width0..Width3. Anything else raises, as GetBarLine does.
class TElementReader {
  public:
    explicit TElementReader(const TBarWidths& Widths)
        : barWidths_(Widths), widths_{Widths.Width0, Widths.Width1, Widths.Width2, Widths.Width3} {}

    TElement operator()(char Element) const {
        if (Element >= '0' && Element <= '3') return {widths_[Element - '0'], TElementKind::Space};
        if (Element >= '5' && Element <= '8') return {widths_[Element - '5'], TElementKind::Bar};
        if (Element >= 'A' && Element <= 'D')
            return {widths_[Element - 'A'], TElementKind::ShortBar};
        return {GetBarLine(Element, barWidths_).Width, TElementKind::Bar};  // raises
    }

  private:
    const TBarWidths& barWidths_;
    int widths_[4];
};

}  // namespace RIBBON_EDITION
}  // namespace ribbon
