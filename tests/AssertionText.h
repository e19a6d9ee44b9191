#pragma once
// Assertion messages end in "(<file>, line <n>)"; tests compare them without the line number.

#include <string>

namespace ribbon::test {

// The message with the line number of an assertion replaced by "N".
inline std::string WithoutLineNumber(std::string message) {
    const std::size_t at = message.rfind("line ");
    if (at == std::string::npos) return message;
    const std::size_t digits = message.find_first_not_of("0123456789", at + 5);
    if (digits == at + 5) return message;
    return message.replace(at + 5, digits - at - 5, "N");
}

}  // namespace ribbon::test
