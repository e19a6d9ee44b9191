#include "base/Exceptions.h"

#include <string_view>

#include "base/Format.h"

namespace ribbon {

void AssertionFailed(const std::string& message, const char* file, int line) {
    std::string_view name(file);
    if (auto slash = name.find_last_of('/'); slash != std::string_view::npos)
        name.remove_prefix(slash + 1);
    throw EAssertionFailed(Format("%s (%s, line %d)", message, std::string(name), line));
}

}  // namespace ribbon
