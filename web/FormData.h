#pragma once
// Reading of posted form bodies and query strings (application/x-www-form-urlencoded).

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ribbon::web {

using FormFields = std::vector<std::pair<std::string, std::string>>;

// The fields in the order they were sent. '+' is a blank and %HH a byte; the bytes are kept as
// they are (8-bit). A '%' not followed by two hexadecimal digits stays a literal '%'.
FormFields ParseFormUrlEncoded(std::string_view body);

// Percent-decodes one name or value as above.
std::string UrlDecode(std::string_view text);

}  // namespace ribbon::web
