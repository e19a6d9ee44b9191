#pragma once

#include <string>
#include <string_view>

namespace ribbon::cli {

// A JSON string literal. Bytes outside printable ASCII are written as \u00XX with the byte's
// value, so any 8-bit data survives the trip.
std::string JsonString(std::string_view bytes);

}  // namespace ribbon::cli
