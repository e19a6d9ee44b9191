#include "cli/TypeNames.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

#include "cli/EngineApi.h"

namespace ribbon::cli {

const std::string_view BarTypeIdentifiers[BarTypeCount] = {
    "bcCode_2_5_interleaved",
    "bcCode_2_5_industrial",
    "bcCode_2_5_matrix",
    "bcCode39",
    "bcCode39Extended",
    "bcCode128A",
    "bcCode128B",
    "bcCode128C",
    "bcCode93",
    "bcCode93Extended",
    "bcCodeMSI",
    "bcCodePostNet",
    "bcCodeCodabar",
    "bcCodeEAN8",
    "bcCodeEAN13",
    "bcCodeUPC_A",
    "bcCodeUPC_E0",
    "bcCodeUPC_E1",
    "bcCodeUPC_Supp2",
    "bcCodeUPC_Supp5",
    "bcCodeEAN128A",
    "bcCodeEAN128B",
    "bcCodeEAN128C",
};

namespace {

struct Alias {
    std::string_view Name;
    TBarType Type;
};

// Friendlier names, compared without regard to case.
constexpr std::array<Alias, 27> Aliases = {{
    {"i25", bcCode_2_5_interleaved},
    {"interleaved25", bcCode_2_5_interleaved},
    {"industrial25", bcCode_2_5_industrial},
    {"matrix25", bcCode_2_5_matrix},
    {"code39ext", bcCode39Extended},
    {"code93ext", bcCode93Extended},
    {"msi", bcCodeMSI},
    {"postnet", bcCodePostNet},
    {"codabar", bcCodeCodabar},
    {"ean8", bcCodeEAN8},
    {"ean13", bcCodeEAN13},
    {"upca", bcCodeUPC_A},
    {"upc-a", bcCodeUPC_A},
    {"upce", bcCodeUPC_E0},
    {"upce0", bcCodeUPC_E0},
    {"upc-e", bcCodeUPC_E0},
    {"upce1", bcCodeUPC_E1},
    {"supp2", bcCodeUPC_Supp2},
    {"upcsupp2", bcCodeUPC_Supp2},
    {"supp5", bcCodeUPC_Supp5},
    {"upcsupp5", bcCodeUPC_Supp5},
    {"code128a", bcCode128A},
    {"code128b", bcCode128B},
    {"code128c", bcCode128C},
    {"ean128a", bcCodeEAN128A},
    {"ean128b", bcCodeEAN128B},
    {"ean128c", bcCodeEAN128C},
}};

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
        const std::string_view id = BarTypeIdentifiers[i];
        if (SameText(text, id) || SameText(text, id.substr(2))) return static_cast<TBarType>(i);
    }
    for (const Alias& alias : Aliases)
        if (SameText(text, alias.Name)) return alias.Type;
    return std::nullopt;
}

}  // namespace ribbon::cli
