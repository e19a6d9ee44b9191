// The posted-form parser and the escapers. Any body parses without harm; fields encoded the
// way a browser encodes them parse back to themselves; and what the escapers write, read back
// the way a browser reads an attribute or a JavaScript string, is the text they were given
// (line breaks in JavaScript strings become LF) with no character that could end its context.

#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "web/Escape.h"
#include "web/FormData.h"

namespace {

using namespace ribbon::web;

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "broken invariant: %s\n", what);
    std::abort();
}

int Hex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// application/x-www-form-urlencoded as browsers write it.
std::string FormEncode(const std::string& text) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char c : text) {
        if (std::isalnum(c) || c == '*' || c == '-' || c == '.' || c == '_') {
            out += static_cast<char>(c);
        } else if (c == ' ') {
            out += '+';
        } else {
            out += '%';
            out += digits[c >> 4];
            out += digits[c & 15];
        }
    }
    return out;
}

// Character references as an HTML parser reads them; only the forms the escaper may write are
// accepted.
std::string HtmlUnescape(const std::string& html) {
    std::string out;
    for (std::size_t i = 0; i < html.size(); ++i) {
        const char c = html[i];
        Check(c != '<' && c != '>' && c != '"' && c != '\'', "a raw markup character");
        Check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F, "a raw control character");
        if (c != '&') {
            out += c;
            continue;
        }
        const std::size_t end = html.find(';', i);
        Check(end != std::string::npos, "an unterminated reference");
        const std::string name = html.substr(i + 1, end - i - 1);
        if (name == "amp")
            out += '&';
        else if (name == "lt")
            out += '<';
        else if (name == "gt")
            out += '>';
        else if (name == "quot")
            out += '"';
        else {
            Check(name.size() >= 2 && name.size() <= 4 && name[0] == '#', "an unknown reference");
            const int code = std::stoi(name.substr(1));
            Check(code >= 0 && code < 128, "a reference out of range");
            out += static_cast<char>(code);
        }
        i = end;
    }
    return out;
}

// A JavaScript string literal's inside, read back; quotes, '<' and '/' must never stand raw.
std::string JsUnescape(const std::string& js) {
    std::string out;
    for (std::size_t i = 0; i < js.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(js[i]);
        Check(c >= 0x20 && c < 0x7F, "a raw byte outside printable ASCII");
        Check(c != '"' && c != '\'' && c != '<' && c != '>' && c != '/',
              "a raw character that can end the string or the script");
        if (c != '\\') {
            out += static_cast<char>(c);
            continue;
        }
        Check(i + 1 < js.size(), "a trailing backslash");
        const char e = js[++i];
        if (e == 'n')
            out += '\n';
        else if (e == '\\' || e == '"' || e == '\'')
            out += e;
        else {
            Check(e == 'x' && i + 2 < js.size() && Hex(js[i + 1]) >= 0 && Hex(js[i + 2]) >= 0,
                  "an unknown escape");
            out += static_cast<char>(Hex(js[i + 1]) * 16 + Hex(js[i + 2]));
            i += 2;
        }
    }
    return out;
}

std::string LineBreaksAsLf(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string raw(reinterpret_cast<const char*>(data), size);
    // Whatever arrives parses into fields without harm.
    for (const auto& [name, value] : ParseFormUrlEncoded(raw))
        Check(name.size() + value.size() <= raw.size(), "a field longer than the body");

    FuzzedDataProvider in(data, size);
    FormFields fields;
    std::string body;
    while (in.remaining_bytes() > 0 && fields.size() < 8) {
        std::string name = in.ConsumeRandomLengthString(20),
                    value = in.ConsumeRandomLengthString(60);
        if (name.empty()) name = "n";  // browsers send no field without a name
        body += (body.empty() ? "" : "&") + FormEncode(name) + "=" + FormEncode(value);
        fields.emplace_back(std::move(name), std::move(value));
    }
    Check(ParseFormUrlEncoded(body) == fields, "encoded fields do not parse back");

    Check(HtmlUnescape(HtmlEscape(raw)) == raw, "HtmlEscape does not read back");
    Check(JsUnescape(JsEscape(raw)) == LineBreaksAsLf(raw), "JsEscape does not read back");
    return 0;
}
