// Code 39 and Code 39 Extended (full ASCII through two-character shift sequences).

#include <array>
#include <cstdint>
#include <string_view>

#include "engine/ByteIndex.h"
#include "engine/Code39Tables.h"
#include "engine/Encoders.h"

namespace ribbon {
namespace {

constexpr TByteIndex Code39Rows =
    MakeByteIndex(Code39Table, [](const Code39Row& row) -> int { return row.Char; });

const Code39Row* FindCode39(char c) {
    const int row = RowOf(Code39Rows, c);
    return row < 0 ? nullptr : &Code39Table[static_cast<std::size_t>(row)];
}

}  // namespace

TEncoded EncodeCode39(const std::string& Data, TCheckSum CheckSum) {
    const std::string_view startStop = FindCode39('*')->Pattern;
    TEncoded e;
    std::string& pattern = e.Pattern;
    pattern.reserve(10 * (Data.size() + 3));
    pattern += startStop;
    pattern += '0';
    int sum = 0;
    for (char c : Data) {
        // Characters outside the table are left out of the symbol; the text still shows them.
        if (const Code39Row* row = FindCode39(c)) {
            pattern += row->Pattern;
            pattern += '0';
            sum = (sum + row->Value) % 43;
            e.Carried += c;
        }
    }
    if (CheckSum != csNone) {
        // The first row carrying the value: "0" for 0, ahead of "*".
        for (const Code39Row& row : Code39Table) {
            if (row.Value == sum) {
                pattern += row.Pattern;
                pattern += '0';
                break;
            }
        }
    }
    pattern += startStop;
    NoteLeftOut(e, Data.size() - e.Carried.size(), "Code 39");
    return e;
}

TEncoded EncodeCode39Extended(const std::string& Data, TCheckSum CheckSum) {
    std::string replacement, carried;
    for (char c : Data) {
        const auto code = static_cast<unsigned char>(c);
        if (code < Code39ExtTable.size()) {
            replacement += Code39ExtTable[code];
            carried += c;
        }
    }
    TEncoded e;
    e.Pattern = EncodeCode39(replacement, CheckSum).Pattern;
    e.Carried = std::move(carried);
    NoteLeftOut(e, Data.size() - e.Carried.size(), "Code 39 Extended");
    return e;
}

}  // namespace ribbon
