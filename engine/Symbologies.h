#pragma once
// The symbology catalogue: one row per TBarType, in ordinal order. Everything that lists the
// symbologies reads it: BCData, the ratio clamp, the encoder dispatch, the ribbon tool's names
// and the preview form's list. docs/adding-a-symbology.md tells how to add a row.

#include <array>
#include <string>
#include <string_view>
#include <type_traits>

#include "engine/Encoders.h"

namespace ribbon {
// Which data a symbology accepts: any its encoder takes, digits only, or digits only under rules
// with digits-only Code C (the desktop rules let Code C carry its function pairs "CB", "CA",
// "F1").
enum class TDigits : std::uint8_t { Any, Only, OnlyCodeC };

// The range Ratio is clamped to; an empty range takes the ratio as given.
struct TRatioRange {
    double Lower = 0;
    double Upper = 0;
    constexpr bool Clamps() const { return Upper > 0; }
};
inline constexpr TRatioRange RatioAsGiven{};
inline constexpr TRatioRange Ratio2To3{2.0, 3.0};
inline constexpr TRatioRange Ratio225To3{2.25, 3.0};

// Every encoder is called alike and returns what it made of the data.
using TEncoder = TEncoded (*)(TBarType BarType, const std::string& Data, TCheckSum CheckSum,
                              const TEditionRules& Rules);

// Adapts an encoder that takes fewer of those arguments, so a row names the encoder itself. An
// encoder that returns the pattern alone carries the data as given.
template <auto Encode>
TEncoded Encoder(TBarType BarType, const std::string& Data, TCheckSum CheckSum,
                 const TEditionRules& Rules) {
    using F = decltype(Encode);
    auto result = [&] {
        if constexpr (std::is_invocable_v<F, const std::string&>)
            return Encode(Data);
        else if constexpr (std::is_invocable_v<F, const std::string&, TCheckSum>)
            return Encode(Data, CheckSum);
        else
            return Encode(BarType, Data, CheckSum, Rules);
    }();
    if constexpr (std::is_same_v<decltype(result), TEncoded>) {
        return result;
    } else {
        TEncoded encoded;
        encoded.Pattern = std::move(result);
        encoded.Carried = Data;
        return encoded;
    }
}

struct TSymbology {
    TBarType Type;
    std::string_view Identifier;  // the enumerator's name, "bcCode39"
    std::string_view Name;        // the display name, "Code39"
    TDigits Digits;
    TRatioRange Ratio;
    TEncoder Encode;
    // Friendlier names the ribbon tool also takes for --type (compared without regard to case).
    std::array<std::string_view, 3> Aliases{};
};

// clang-format off
inline constexpr TSymbology Symbologies[] = {
    // enumerator, identifier, display name,
    //  digits, ratio range, encoder, aliases for --type
    {bcCode_2_5_interleaved, "bcCode_2_5_interleaved", "Code25 interleaved",
     TDigits::Only, Ratio2To3, Encoder<EncodeCode25Interleaved>, {"i25", "interleaved25"}},
    {bcCode_2_5_industrial, "bcCode_2_5_industrial", "Code25 industrial",
     TDigits::Only, Ratio2To3, Encoder<EncodeCode25Industrial>, {"industrial25"}},
    {bcCode_2_5_matrix, "bcCode_2_5_matrix", "Code25 matrix",
     TDigits::Only, Ratio225To3, Encoder<EncodeCode25Matrix>, {"matrix25"}},
    {bcCode39, "bcCode39", "Code39",
     TDigits::Any, Ratio2To3, Encoder<EncodeCode39>, {}},
    {bcCode39Extended, "bcCode39Extended", "Code39 Extended",
     TDigits::Any, Ratio2To3, Encoder<EncodeCode39Extended>, {"code39ext"}},
    {bcCode128A, "bcCode128A", "Code128A",
     TDigits::Any, RatioAsGiven, Encoder<EncodeCode128>, {"code128a"}},
    {bcCode128B, "bcCode128B", "Code128B",
     TDigits::Any, RatioAsGiven, Encoder<EncodeCode128>, {"code128b"}},
    {bcCode128C, "bcCode128C", "Code128C",
     TDigits::OnlyCodeC, RatioAsGiven, Encoder<EncodeCode128>, {"code128c"}},
    {bcCode93, "bcCode93", "Code93",
     TDigits::Any, RatioAsGiven, Encoder<EncodeCode93>, {}},
    {bcCode93Extended, "bcCode93Extended", "Code93 Extended",
     TDigits::Any, RatioAsGiven, Encoder<EncodeCode93Extended>, {"code93ext"}},
    {bcCodeMSI, "bcCodeMSI", "MSI",
     TDigits::Only, RatioAsGiven, Encoder<EncodeMSI>, {"msi"}},
    {bcCodePostNet, "bcCodePostNet", "PostNet",
     TDigits::Only, RatioAsGiven, Encoder<EncodePostNet>, {"postnet"}},
    {bcCodeCodabar, "bcCodeCodabar", "Codebar",
     TDigits::Any, Ratio2To3, Encoder<EncodeCodabar>, {"codabar"}},
    {bcCodeEAN8, "bcCodeEAN8", "EAN8",
     TDigits::Only, Ratio2To3, Encoder<EncodeEAN8>, {"ean8"}},
    {bcCodeEAN13, "bcCodeEAN13", "EAN13",
     TDigits::Only, Ratio2To3, Encoder<EncodeEAN13>, {"ean13"}},
    {bcCodeUPC_A, "bcCodeUPC_A", "UPC_A",
     TDigits::Only, Ratio2To3, Encoder<EncodeUPCA>, {"upca", "upc-a"}},
    {bcCodeUPC_E0, "bcCodeUPC_E0", "UPC_E0",
     TDigits::Only, Ratio2To3, Encoder<EncodeUPCE0>, {"upce", "upce0", "upc-e"}},
    {bcCodeUPC_E1, "bcCodeUPC_E1", "UPC_E1",
     TDigits::Only, Ratio2To3, Encoder<EncodeUPCE1>, {"upce1"}},
    {bcCodeUPC_Supp2, "bcCodeUPC_Supp2", "UPC Supp2",
     TDigits::Only, Ratio2To3, Encoder<EncodeUPCSupp2>, {"supp2", "upcsupp2"}},
    {bcCodeUPC_Supp5, "bcCodeUPC_Supp5", "UPC Supp5",
     TDigits::Only, Ratio2To3, Encoder<EncodeUPCSupp5>, {"supp5", "upcsupp5"}},
    {bcCodeEAN128A, "bcCodeEAN128A", "EAN128A",
     TDigits::Any, RatioAsGiven, Encoder<EncodeCode128>, {"ean128a"}},
    {bcCodeEAN128B, "bcCodeEAN128B", "EAN128B",
     TDigits::Any, RatioAsGiven, Encoder<EncodeCode128>, {"ean128b"}},
    {bcCodeEAN128C, "bcCodeEAN128C", "EAN128C",
     TDigits::OnlyCodeC, RatioAsGiven, Encoder<EncodeCode128>, {"ean128c"}},
};
// clang-format on

// A row for every enumerator, each at its own ordinal, so that indexing by TBarType is sound.
static_assert(std::size(Symbologies) == BarTypeCount,
              "the catalogue needs exactly one row per TBarType");
constexpr bool CatalogueInOrder() {
    for (int i = 0; i < BarTypeCount; ++i) {
        const TSymbology& row = Symbologies[i];
        if (row.Type != i || !row.Identifier.starts_with("bc") || row.Name.empty() || !row.Encode)
            return false;
    }
    return true;
}
static_assert(CatalogueInOrder(), "catalogue rows must stand in TBarType order, each complete");

constexpr bool NumericOnly(const TSymbology& Row, const TEditionRules& Rules) {
    return Row.Digits == TDigits::Only ||
           (Row.Digits == TDigits::OnlyCodeC && Rules.DigitsOnlyCodeC);
}

}  // namespace ribbon
