#pragma once
// Runs a shell command for the tests that read results back through outside tools.

#include <array>
#include <cstdio>
#include <string>

namespace ribbon::test {

// The text as one shell word, whatever it holds.
inline std::string ShellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// What the shell command prints on stdout (stderr dropped), trailing line breaks removed.
inline std::string CaptureOutput(const std::string& command) {
    std::string out;
    if (FILE* p = popen((command + " 2>/dev/null").c_str(), "r")) {
        std::array<char, 4096> buf;
        std::size_t n;
        while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
        pclose(p);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

}  // namespace ribbon::test
