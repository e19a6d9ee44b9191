#pragma once
// Session identifiers: 24 hexadecimal characters (96 bits) from the kernel's cryptographic
// random source, so that an identifier cannot be guessed from others.

#include <string>
#include <string_view>

namespace ribbon::web {

inline constexpr std::size_t SessionIdLength = 24;

// Raises ribbon::Exception if the random source fails.
std::string NewSessionId();

// True for 24 lower-case hexadecimal characters, the form NewSessionId gives.
bool IsSessionId(std::string_view text);

}  // namespace ribbon::web
