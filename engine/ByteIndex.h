#pragma once
// A character table's row for every byte value, so that the encoders find a character in one
// step instead of searching their table.

#include <array>
#include <cstddef>
#include <cstdint>

namespace ribbon {

using TByteIndex = std::array<std::int8_t, 256>;

// CharOf gives the character a row holds, or a negative value for a row holding none. A byte no
// row holds maps to -1; where several rows hold one, the first row wins.
template <typename Table, typename CharOf>
constexpr TByteIndex MakeByteIndex(const Table& Rows, CharOf Char) {
    TByteIndex index{};
    index.fill(-1);
    for (std::size_t row = Rows.size(); row-- > 0;) {
        const int c = Char(Rows[row]);
        if (c >= 0) index[static_cast<unsigned char>(c)] = static_cast<std::int8_t>(row);
    }
    return index;
}

// The row of c, or -1.
constexpr int RowOf(const TByteIndex& Index, char c) {
    return Index[static_cast<unsigned char>(c)];
}

}  // namespace ribbon
