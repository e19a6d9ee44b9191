#include "components/FormValue.h"

#include <cctype>
#include <charconv>

#include "base/Format.h"

namespace ribbon {

namespace {

bool IdentStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}

bool IdentChar(char c) {
    return IdentStart(c) || std::isdigit(static_cast<unsigned char>(c));
}

[[noreturn]] void Bad(std::string_view text) {
    throw Exception(Format("'%s' is not a value", std::string(text)));
}

TFormValue ParseString(std::string_view t) {
    TFormValue v;
    v.Kind = TFormValue::String;
    std::size_t i = 0;
    while (i < t.size()) {
        if (t[i] == '\'') {
            for (++i;; ++i) {
                if (i >= t.size()) throw Exception("the string has no closing quote");
                if (t[i] == '\'') {
                    if (i + 1 < t.size() && t[i + 1] == '\'') {
                        v.Text += '\'';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                v.Text += t[i];
            }
        } else if (t[i] == '#') {
            std::size_t j = ++i;
            while (j < t.size() && std::isdigit(static_cast<unsigned char>(t[j]))) ++j;
            int code = -1;
            if (j > i && j - i <= 3) std::from_chars(t.data() + i, t.data() + j, code);
            if (code < 0 || code > 255)
                throw Exception(Format("'%s' is not a character code (#0 to #255)",
                                       std::string(t.substr(i - 1, j - i + 1))));
            v.Text += static_cast<char>(code);
            i = j;
        } else {
            Bad(t);
        }
    }
    return v;
}

}  // namespace

TFormValue TFormValue::Parse(std::string_view t) {
    if (t.empty()) throw Exception("the value is missing");
    if (t[0] == '\'' || t[0] == '#') return ParseString(t);
    TFormValue v;
    v.Text = std::string(t);
    if (IdentStart(t[0])) {
        for (char c : t)
            if (!IdentChar(c)) Bad(t);
        return v;
    }
    if (t[0] == '[') {
        v.Kind = Set;
        if (t.back() != ']') Bad(t);
        std::string_view inner = t.substr(1, t.size() - 2);
        while (!inner.empty()) {
            const std::size_t comma = inner.find(',');
            std::string_view item = inner.substr(0, comma);
            while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
            while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
            if (item.empty() || !IdentStart(item[0])) Bad(t);
            for (char c : item)
                if (!IdentChar(c)) Bad(t);
            v.Members.emplace_back(item);
            if (comma == std::string_view::npos) break;
            inner.remove_prefix(comma + 1);
            if (inner.empty()) Bad(t);
        }
        return v;
    }
    if (t[0] == '$') {
        unsigned long long u = 0;
        const auto r = std::from_chars(t.data() + 1, t.data() + t.size(), u, 16);
        if (t.size() == 1 || r.ec != std::errc() || r.ptr != t.data() + t.size() ||
            u > 0xFFFFFFFFULL)
            Bad(t);
        v.Kind = Integer;
        v.IntegerValue = static_cast<long long>(u);
        v.RealValue = static_cast<double>(u);
        return v;
    }
    long long i = 0;
    auto r = std::from_chars(t.data(), t.data() + t.size(), i);
    if (r.ec == std::errc() && r.ptr == t.data() + t.size()) {
        v.Kind = Integer;
        v.IntegerValue = i;
        v.RealValue = static_cast<double>(i);
        return v;
    }
    double d = 0;
    auto rd = std::from_chars(t.data(), t.data() + t.size(), d);
    if (rd.ec == std::errc() && rd.ptr == t.data() + t.size()) {
        v.Kind = Real;
        v.RealValue = d;
        return v;
    }
    Bad(t);
}

std::string QuoteFormString(std::string_view Bytes) {
    std::string out;
    bool open = false;
    for (char c : Bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 32 && b < 127) {
            if (!open) out += '\'';
            open = true;
            out += c == '\'' ? std::string("''") : std::string(1, c);
        } else {
            if (open) out += '\'';
            open = false;
            out += '#' + std::to_string(b);
        }
    }
    if (open) out += '\'';
    return out.empty() ? "''" : out;
}

}  // namespace ribbon
