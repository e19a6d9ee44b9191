#pragma once
// Numeric helpers shared by the engine: rounding as the engine defines it and the runtime's
// checked string-to-integer conversion.

#include <string>

namespace ribbon {

// Rounds to the nearest integer, exact halves to the even neighbour (2.5 -> 2, 3.5 -> 4,
// -2.5 -> -2). NaN, infinities and values beyond 64 bits raise "Invalid floating point operation".
long long RoundHalfEven(long double value);

// Decimal text to a signed 32-bit integer: an optional sign followed by digits, nothing else.
// Anything else, or a value outside the 32-bit range, raises EConvertError with
// "'<text>' is not a valid integer value".
int StrToInt(const std::string& text);

}  // namespace ribbon
