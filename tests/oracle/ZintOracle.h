#pragma once
// zint as an independent oracle: its --dump prints a linear symbol's modules as hexadecimal
// digits (1 = bar module), padded with zero bits to a whole digit.

#include <array>
#include <cstdio>
#include <optional>
#include <string>

#include "tests/Shell.h"

namespace ribbon::test {

// The modules zint makes of data for its symbology number, as a string of '0' and '1', or
// nothing when zint refuses the data. extra holds more command-line options ("--vers=1").
inline std::optional<std::string> ZintModules(int symbology, const std::string& data,
                                              const std::string& extra = "") {
    const std::string cmd = "zint --dump -b " + std::to_string(symbology) + " " + extra + " -d " +
                            ShellQuote(data) + " 2>/dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return std::nullopt;
    std::string out;
    std::array<char, 4096> buf;
    std::size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
    if (pclose(p) != 0) return std::nullopt;
    std::string bits;
    for (char c : out) {
        int v;
        if (c >= '0' && c <= '9')
            v = c - '0';
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        else
            continue;
        for (int b = 3; b >= 0; --b) bits += (v >> b) & 1 ? '1' : '0';
    }
    return bits;
}

// True when zint's bits are the expected modules followed only by padding.
inline bool SameModules(const std::string& ours, const std::string& zint) {
    if (zint.size() < ours.size() || zint.size() - ours.size() >= 4) return false;
    return zint.compare(0, ours.size(), ours) == 0 &&
           zint.find('1', ours.size()) == std::string::npos;
}

}  // namespace ribbon::test
