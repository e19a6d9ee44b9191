#pragma once
// printf-style formatting into a std::string. "%s" takes a std::string (or a C string) and copies
// it byte for byte, embedded NUL characters included; the numeric conversions accept the usual
// flags, width and precision. "%%" writes a percent sign. A conversion without a matching
// argument, or an argument of the wrong kind, raises an Exception instead of reading garbage.

#include <cstdint>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

namespace ribbon {

using FormatArg = std::variant<std::string, long long, unsigned long long, long double>;

std::string FormatArgs(const std::string& format, const std::vector<FormatArg>& args);

namespace detail {
template <typename T>
FormatArg ToFormatArg(const T& value) {
    if constexpr (std::is_same_v<T, bool>) {
        return static_cast<long long>(value);
    } else if constexpr (std::is_enum_v<T>) {
        return ToFormatArg(static_cast<std::underlying_type_t<T>>(value));
    } else if constexpr (std::is_integral_v<T>) {
        if constexpr (std::is_unsigned_v<T>)
            return static_cast<unsigned long long>(value);
        else
            return static_cast<long long>(value);
    } else if constexpr (std::is_floating_point_v<T>) {
        return static_cast<long double>(value);
    } else {
        return std::string(value);
    }
}
}  // namespace detail

template <typename... Args>
std::string Format(const std::string& format, const Args&... args) {
    return FormatArgs(format, {detail::ToFormatArg(args)...});
}

}  // namespace ribbon
