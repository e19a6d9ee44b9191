#pragma once
// The independent decoders that read pictures back: zbar's zbarimg and ZXing-C++'s ZXingReader.

#include <string>

#include "tests/Shell.h"

namespace ribbon::test {

inline bool HaveDecoders() {
    return !CaptureOutput("command -v zbarimg").empty() &&
           !CaptureOutput("command -v ZXingReader").empty();
}

inline std::string ZbarRead(const std::string& file) {
    return CaptureOutput("zbarimg -q --raw " + ShellQuote(file));
}

inline std::string ZxingRead(const std::string& file) {
    return CaptureOutput("ZXingReader -bytes " + ShellQuote(file));
}

}  // namespace ribbon::test
