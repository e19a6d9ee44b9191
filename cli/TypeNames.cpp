#include "cli/TypeNames.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

#include "engine/ZBarCode.h"

namespace ribbon::cli {

namespace {

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

std::optional<TBarType> ParseBarType(std::string_view text) {
    if (!text.empty() &&
        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        // Any 8-bit ordinal goes to the engine, which answers for those beyond the table.
        unsigned value = 0;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec != std::errc() || end != text.data() + text.size() || value > 255)
            return std::nullopt;
        return static_cast<TBarType>(value);
    }
    for (int i = 0; i < BarTypeCount; ++i) {
        const std::string_view id = Z_GetBarTypeIdentifier(static_cast<TBarType>(i));
        if (SameText(text, id) || SameText(text, id.substr(2))) return static_cast<TBarType>(i);
    }
    for (int i = 0; i < BarTypeCount; ++i)
        for (std::string_view alias : Z_GetBarTypeAliases(static_cast<TBarType>(i)))
            if (SameText(text, alias)) return static_cast<TBarType>(i);
    return std::nullopt;
}

}  // namespace ribbon::cli
