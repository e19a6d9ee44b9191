#pragma once
// Small helpers shared by the engine tests.

#include <functional>
#include <string>

#include "base/Exceptions.h"
#include "engine/Encoders.h"
#include "tests/ErrorOf.h"

namespace ribbon::test {

using Encoded = TBarSymbol;

// Runs the pipeline the way the drawing does.
inline TBarSymbol Encode(TBarType type, const std::string& data, int modul = 1, double ratio = 2.0,
                         TCheckSum checkSum = csNone, const TEditionRules& rules = DesktopRules) {
    return EncodeBar(type, data, modul, ratio, checkSum, rules);
}

// Both editions' rules, for the tests of what they decide.
struct NamedRules {
    const char* Name;
    TEditionRules Rules;
};
inline constexpr NamedRules BothEditions[] = {{"desktop", DesktopRules}, {"web", WebRules}};

// Expands a pattern into modules ('1' bar, '0' space), each element as many modules as its
// width class is wide at Modul 1 and Ratio 2.0.
inline std::string Modules(const std::string& pattern) {
    const TBarWidths unit{1, 2, 3, 4};
    std::string modules;
    for (char c : pattern) {
        const TBarLine line = GetBarLine(c, unit);
        modules.append(static_cast<std::size_t>(line.Width), line.LineType == white ? '0' : '1');
    }
    return modules;
}

}  // namespace ribbon::test
