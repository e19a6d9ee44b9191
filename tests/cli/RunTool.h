#pragma once
// Runs the ribbon tool as a user would and captures what it prints.

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/Shell.h"

namespace ribbon::test {

struct ToolResult {
    int Status = -1;
    std::string Out;
    std::string Err;
};

inline ToolResult RunTool(const std::vector<std::string>& args) {
    char errPath[] = "/tmp/ribbon-cli-test-XXXXXX";
    const int fd = mkstemp(errPath);
    if (fd >= 0) close(fd);
    std::string cmd = ShellQuote(RIBBON_TOOL);
    for (const auto& a : args) cmd += " " + ShellQuote(a);
    cmd += " 2>" + ShellQuote(errPath);
    ToolResult r;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        std::array<char, 4096> buf;
        std::size_t n;
        while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.Out.append(buf.data(), n);
        const int status = pclose(p);
        r.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::ifstream err(errPath);
    std::stringstream ss;
    ss << err.rdbuf();
    r.Err = ss.str();
    std::remove(errPath);
    return r;
}

}  // namespace ribbon::test
