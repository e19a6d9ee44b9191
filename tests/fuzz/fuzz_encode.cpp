// The encoding pipeline of both editions with any symbology byte, any data and any modul,
// ratio and check option. Each input ends in one of two ways: an error with a message, or a
// pattern made only of the element alphabet whose element widths add up to the measured width.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <cstring>

#include "base/Exceptions.h"
#include "engine/ZBarCode.h"

namespace {

using namespace ribbon;

bool InAlphabet(char c) {
    return (c >= '0' && c <= '3') || (c >= '5' && c <= '8') || (c >= 'A' && c <= 'D');
}

// The width of one pattern character: its width class. A negative Modul gives negative widths,
// which the measured width adds up as well.
long long ElementWidth(char c, const TBarWidths& w) {
    const int widths[] = {w.Width0, w.Width1, w.Width2, w.Width3};
    const int rank = c <= '3' ? c - '0' : c <= '8' ? c - '5' : c - 'A';
    return widths[rank];
}

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "broken invariant: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const auto type = static_cast<TBarType>(in.ConsumeIntegral<std::uint8_t>());
    const TEditionRules rules = in.ConsumeBool() ? WebRules : DesktopRules;
    const auto checkSum = static_cast<TCheckSum>(in.ConsumeIntegralInRange<int>(0, 2));
    // Mostly the moduls and ratios people use, sometimes anything at all.
    const int modul =
        in.ConsumeBool() ? in.ConsumeIntegralInRange(1, 10) : in.ConsumeIntegral<int>();
    double ratio = in.ConsumeBool() ? in.ConsumeFloatingPointInRange(1.5, 3.5)
                                    : in.ConsumeFloatingPoint<double>();
    if (in.ConsumeBool()) {
        const double specials[] = {
            0.0, -0.0, 1e308, -1e308, __builtin_nan(""), __builtin_inf(), -__builtin_inf()};
        ratio = specials[in.ConsumeIntegralInRange<std::size_t>(0, std::size(specials) - 1)];
    }
    const std::string text = in.ConsumeRemainingBytesAsString();

    TBarSymbol e;
    try {
        e = Z_EncodeBar(type, text, modul, ratio, checkSum, rules);
    } catch (const Exception& error) {
        Check(!error.Message.empty(), "an error without a message");
        return 0;
    }
    Check(!e.Pattern.empty(), "an empty pattern");
    long long width = 0;
    for (const char c : e.Pattern) {
        Check(InAlphabet(c), "a pattern character outside the alphabet");
        width += ElementWidth(c, e.Widths);
    }
    Check(width == e.Length, "the elements do not add up to the measured width");
    return 0;
}
