#include "web/Escape.h"

namespace ribbon::web {

namespace {
constexpr char Hex[] = "0123456789ABCDEF";
}

namespace {
bool NeedsHtmlEscape(unsigned char c) {
    return c == '&' || c == '<' || c == '>' || c == '"' || c == '\'' || c < 0x20 || c == 0x7F;
}
}  // namespace

void AppendHtmlEscaped(std::string& out, std::string_view text) {
    // Every name and caption of every page passes here; most need nothing escaped.
    std::size_t plain = 0;
    while (plain < text.size() && !NeedsHtmlEscape(static_cast<unsigned char>(text[plain])))
        ++plain;
    out.append(text.substr(0, plain));
    for (unsigned char c : text.substr(plain)) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    out += "&#" + std::to_string(c) + ';';
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
}

std::string HtmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    AppendHtmlEscaped(out, text);
    return out;
}

std::string JsEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\'':
                out += "\\'";
                break;
            case '\r':
                if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
                out += "\\n";
                break;
            case '\n':
                out += "\\n";
                break;
            case '<':
            case '>':
            case '&':
            case '/':
            case '=':
                out += "\\x";
                out += Hex[c >> 4];
                out += Hex[c & 0xF];
                break;
            default:
                if (c < 0x20 || c >= 0x7F) {
                    out += "\\x";
                    out += Hex[c >> 4];
                    out += Hex[c & 0xF];
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out;
}

}  // namespace ribbon::web
