#include "base/Numeric.h"

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "base/Exceptions.h"
#include "base/Format.h"

namespace ribbon {

long long RoundHalfEven(long double value) {
    // Like the runtime's Round: a value that has no integer (NaN, infinity, beyond 64 bits) is an
    // invalid operation rather than an arbitrary number.
    if (!std::isfinite(value) || std::fabs(value) >= 0x1p63L)
        throw Exception("Invalid floating point operation");
    // nearbyint follows the current rounding mode; the process never leaves the default
    // round-to-nearest-even, but make the rule explicit in case a host changed it.
    const int mode = std::fegetround();
    if (mode != FE_TONEAREST) std::fesetround(FE_TONEAREST);
    // llrintl rounds by the current mode like nearbyintl, without nearbyintl's costly save and
    // restore of the floating-point environment (drawing rounds every corner of every bar).
    const long long rounded = std::llrintl(value);
    if (mode != FE_TONEAREST) std::fesetround(mode);
    return rounded;
}

int StrToInt(const std::string& text) {
    auto fail = [&]() -> int {
        throw EConvertError(Format("'%s' is not a valid integer value", text));
    };
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return fail();
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c < '0' || c > '9') return fail();
        value = value * 10 + (c - '0');
        if (value > std::int64_t{std::numeric_limits<int>::max()} + 1) return fail();
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return fail();
    return static_cast<int>(value);
}

}  // namespace ribbon
