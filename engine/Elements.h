#pragma once
// A symbol's pattern, read an element at a time: the one place that decodes the pattern's
// alphabet.

#include <cstdint>

#include "engine/BarTypes.h"

namespace ribbon {

enum class TElementKind : std::uint8_t { Space, Bar, ShortBar };

struct TElement {
    int Width;
    TElementKind Kind;
};

// Raises "Internal Error.": a pattern character outside the alphabet.
[[noreturn]] void BadElement();

/// The pattern's alphabet: "0".."3" spaces, "5".."8" bars and "A".."D" bars that start three
/// fifths down, of the widths Width0..Width3. Anything else raises "Internal Error.".
class TElementReader {
  public:
    explicit TElementReader(const TBarWidths& Widths)
        : widths_{Widths.Width0, Widths.Width1, Widths.Width2, Widths.Width3} {}

    TElement operator()(char Element) const {
        if (Element >= '0' && Element <= '3') return {widths_[Element - '0'], TElementKind::Space};
        if (Element >= '5' && Element <= '8') return {widths_[Element - '5'], TElementKind::Bar};
        if (Element >= 'A' && Element <= 'D')
            return {widths_[Element - 'A'], TElementKind::ShortBar};
        BadElement();
    }

  private:
    int widths_[4];
};

/// Width in pixels and colour class of one pattern character, as the reader reads it.
inline TBarLine GetBarLine(char Element, const TBarWidths& Widths) {
    static constexpr TBarLineType Colours[] = {white, black, black_half};
    const TElement e = TElementReader(Widths)(Element);
    return {e.Width, Colours[static_cast<int>(e.Kind)]};
}

}  // namespace ribbon
