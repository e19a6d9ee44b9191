// The encoding pipeline shared by every symbology, and the tables derived from the catalogue.

#include "engine/ZBarCode.h"

#include <cmath>

#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/Numeric.h"
#include "engine/Encoders.h"
#include "engine/Symbologies.h"

namespace ribbon {
// Constant-initialised, so it is ready before any other static initialiser reads it.
constinit const std::array<TBCdata, BarTypeCount> BCData = [] {
    std::array<TBCdata, BarTypeCount> rows{};
    for (const TSymbology& row : Symbologies)
        rows[row.Type] = {row.Name, NumericOnly(row, DesktopRules)};
    return rows;
}();

namespace {

// Largest Width1 the engine accepts: Width2 (3/2) and Width3 (x2) stay inside 32 bits.
constexpr long double MaxWidth1 = 1 << 29;

[[noreturn]] void WrongBarType() {
    throw Exception(Format("%s", "Wrong barcode type."));
}

void ClampRatio(TBarType BarType, double& Ratio) {
    if (BarType >= BarTypeCount) return;
    const TRatioRange range = Symbologies[BarType].Ratio;
    if (!range.Clamps()) return;
    if (!(Ratio >= range.Lower)) Ratio = range.Lower;  // also catches NaN
    if (Ratio > range.Upper) Ratio = range.Upper;
}

TBarWidths DeriveWidths(int Modul, double Ratio) {
    const long double wide = static_cast<long double>(Modul) * Ratio;
    if (!std::isfinite(wide) || std::fabs(wide) > MaxWidth1)
        throw Exception(Format("%s", "Bar width out of range."));
    TBarWidths w;
    w.Width0 = Modul;
    w.Width1 = static_cast<int>(RoundHalfEven(wide));
    w.Width2 = (3 * w.Width1) / 2;
    w.Width3 = 2 * w.Width1;
    return w;
}

std::string WorkingCopy(const std::string& BarCode, const TEditionRules& Rules) {
    if (!Rules.TrimData) return BarCode;
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    std::size_t first = 0, last = BarCode.size();
    while (first < last && blank(BarCode[first])) ++first;
    while (last > first && blank(BarCode[last - 1])) --last;
    return BarCode.substr(first, last - first);
}

const TSymbology& RowOf(TBarType BarType) {
    if (BarType >= BarTypeCount) WrongBarType();
    return Symbologies[BarType];
}

}  // namespace

std::string Z_GetBarTypeName(TBarType BarType) {
    return std::string(RowOf(BarType).Name);
}

std::string_view Z_GetBarTypeIdentifier(TBarType BarType) {
    return RowOf(BarType).Identifier;
}

std::span<const std::string_view> Z_GetBarTypeAliases(TBarType BarType) {
    const auto& aliases = RowOf(BarType).Aliases;
    std::size_t count = 0;
    while (count < aliases.size() && !aliases[count].empty()) ++count;
    return {aliases.data(), count};
}

bool Z_IsNumericOnly(TBarType BarType, const TEditionRules& Rules) {
    return NumericOnly(RowOf(BarType), Rules);
}

TBarSymbol EncodeBar(TBarType BarType, const std::string& BarCode, int Modul, double Ratio,
                     TCheckSum CheckSum, const TEditionRules& Rules) {
    TBarSymbol symbol;
    symbol.BarType = BarType;
    symbol.Ratio = Ratio;
    ClampRatio(BarType, symbol.Ratio);
    symbol.Widths = DeriveWidths(Modul, symbol.Ratio);
    const std::string data = WorkingCopy(BarCode, Rules);

    if (BarType >= BarTypeCount) WrongBarType();
    if (NumericOnly(Symbologies[BarType], Rules)) {
        for (char c : data)
            if (c < '0' || c > '9')
                throw Exception(Format("%s : %s", data, "Barcode must be numeric."));
    }

    TEncoded encoded = Symbologies[BarType].Encode(BarType, data, CheckSum, Rules);
    symbol.Pattern = std::move(encoded.Pattern);
    symbol.Text = encoded.ShowCarried ? encoded.Carried : BarCode;
    symbol.Encoded = std::move(encoded.Carried);
    symbol.Changes = encoded.Changes;
    symbol.Notice = std::move(encoded.Notice);
    return symbol;
}

void BadElement() {
    throw Exception(Format("%s", "Internal Error."));
}

std::string CountsToPattern(const std::string& Counts) {
    std::string pattern(Counts);
    for (std::size_t i = 0; i < pattern.size(); ++i)
        pattern[i] = static_cast<char>(i % 2 == 0 ? pattern[i] + 4 : pattern[i] - 1);
    return pattern;
}

std::string AppendModulo10(const std::string& Digits) {
    // Weights 3, 1, 3, ... from the right-most digit; digits are converted from the left, so a
    // bad character is reported as the first one in the data.
    long long sum = 0;
    for (std::size_t i = 0; i < Digits.size(); ++i) {
        const int weight = (Digits.size() - i) % 2 == 1 ? 3 : 1;
        sum += static_cast<long long>(DigitValue(Digits[i])) * weight;
    }
    const int check = sum % 10 == 0 ? 0 : static_cast<int>(10 - sum % 10);
    return Digits + static_cast<char>('0' + check);
}

std::string ApplyCheckSum(TCheckSum CheckSum, const std::string& Data) {
    return CheckSum == csModulo10 ? AppendModulo10(Data) : Data;
}

int DigitValue(char Digit) {
    if (Digit >= '0' && Digit <= '9') return Digit - '0';
    return StrToInt(std::string(1, Digit));  // raises the conversion error
}

}  // namespace ribbon
