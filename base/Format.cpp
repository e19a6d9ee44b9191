#include "base/Format.h"

#include <cstdio>
#include <string_view>

#include "base/Exceptions.h"

namespace ribbon {

namespace {

std::string PrintOne(const std::string& conversion, auto value) {
    int n = std::snprintf(nullptr, 0, conversion.c_str(), value);
    if (n < 0) throw Exception("Format '" + conversion + "' invalid");
    std::string out(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(out.data(), out.size(), conversion.c_str(), value);
    out.resize(static_cast<std::size_t>(n));
    return out;
}

[[noreturn]] void BadFormat(const std::string& format) {
    throw Exception("Format '" + format + "' invalid or incompatible with argument");
}

}  // namespace

std::string FormatArgs(const std::string& format, const std::vector<FormatArg>& args) {
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            out += format[i];
            continue;
        }
        std::size_t start = i++;
        if (i < format.size() && format[i] == '%') {
            out += '%';
            continue;
        }
        while (i < format.size() &&
               std::string_view("-+ #0").find(format[i]) != std::string_view::npos)
            ++i;
        while (i < format.size() && ((format[i] >= '0' && format[i] <= '9') || format[i] == '.'))
            ++i;
        if (i >= format.size() || next >= args.size()) BadFormat(format);
        char conv = format[i];
        std::string flags = format.substr(start, i - start);
        const FormatArg& arg = args[next++];
        switch (conv) {
            case 's':
                if (auto s = std::get_if<std::string>(&arg)) {
                    if (flags == "%")
                        out += *s;
                    else
                        out += PrintOne(flags + "s", s->c_str());
                } else {
                    BadFormat(format);
                }
                break;
            case 'd':
            case 'i':
                if (auto v = std::get_if<long long>(&arg))
                    out += PrintOne(flags + "lld", *v);
                else if (auto u = std::get_if<unsigned long long>(&arg))
                    out += PrintOne(flags + "llu", *u);
                else
                    BadFormat(format);
                break;
            case 'u':
            case 'x':
            case 'X':
                if (auto v = std::get_if<long long>(&arg))
                    out += PrintOne(flags + "ll" + conv, static_cast<unsigned long long>(*v));
                else if (auto u = std::get_if<unsigned long long>(&arg))
                    out += PrintOne(flags + "ll" + conv, *u);
                else
                    BadFormat(format);
                break;
            case 'f':
            case 'e':
            case 'g':
                if (auto v = std::get_if<long double>(&arg))
                    out += PrintOne(flags + "L" + conv, *v);
                else
                    BadFormat(format);
                break;
            default:
                BadFormat(format);
        }
    }
    return out;
}

}  // namespace ribbon
