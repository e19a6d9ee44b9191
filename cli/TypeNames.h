#pragma once

#include <optional>
#include <string_view>

#include "engine/BarTypes.h"

namespace ribbon::cli {

// "--type" accepts an ordinal (any value up to 255; the engine refuses those beyond the
// table), a TBarType identifier with or without its "bc" prefix, or a friendly alias such as
// "ean13", all without regard to case.
std::optional<TBarType> ParseBarType(std::string_view text);

}  // namespace ribbon::cli
