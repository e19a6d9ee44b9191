#pragma once
// Escaping of everything the framework writes into a page. Texts are 8-bit strings (the page is
// ISO-8859-1); user input reaches the page through edit texts and through error messages that
// quote the data, so nothing is written unescaped.

#include <string>
#include <string_view>

namespace ribbon::web {

// For element content and double- or single-quoted attribute values: & < > " ' become
// character references, and so does every control character.
std::string HtmlEscape(std::string_view text);
// The same, appended to out.
void AppendHtmlEscaped(std::string& out, std::string_view text);

// The inside of a double- or single-quoted JavaScript string literal that sits inside a
// <script> element: a backslash is doubled, a line break (CR LF, LF or CR) becomes \n, quotes
// get a backslash, and < > & / = and every byte outside printable ASCII become \xHH, so the
// text can neither end the string nor the script element.
std::string JsEscape(std::string_view text);

}  // namespace ribbon::web
