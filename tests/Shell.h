#pragma once
// Runs a shell command for the tests that read results back through outside tools.

#include <sys/wait.h>

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

struct CommandResult {
    std::string Out;  // stdout, trailing line breaks removed
    int Status = -1;  // the exit status; -1 when it could not be started or did not exit
};

// Runs the shell command, stderr dropped.
inline CommandResult RunCommand(const std::string& command) {
    CommandResult r;
    if (FILE* p = popen((command + " 2>/dev/null").c_str(), "r")) {
        std::array<char, 4096> buf;
        std::size_t n;
        while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.Out.append(buf.data(), n);
        const int raw = pclose(p);
        if (raw != -1 && WIFEXITED(raw)) r.Status = WEXITSTATUS(raw);
    }
    while (!r.Out.empty() && (r.Out.back() == '\n' || r.Out.back() == '\r')) r.Out.pop_back();
    return r;
}

// What the shell command prints on stdout (stderr dropped), trailing line breaks removed.
inline std::string CaptureOutput(const std::string& command) {
    return RunCommand(command).Out;
}

}  // namespace ribbon::test
