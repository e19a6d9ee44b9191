#pragma once
// The independent decoders that read pictures back: zbar's zbarimg and ZXing-C++'s ZXingReader.

#include <array>
#include <cstdio>
#include <string>

namespace ribbon::test {

// What the shell command prints on stdout, without the final line break.
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

inline bool HaveDecoders() {
    return !CaptureOutput("command -v zbarimg").empty() &&
           !CaptureOutput("command -v ZXingReader").empty();
}

inline std::string ZbarRead(const std::string& file) {
    return CaptureOutput("zbarimg -q --raw '" + file + "'");
}

inline std::string ZxingRead(const std::string& file) {
    return CaptureOutput("ZXingReader -bytes '" + file + "'");
}

}  // namespace ribbon::test
