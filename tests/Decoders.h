#pragma once
// The independent decoders that read pictures back: zbar's zbarimg and ZXing-C++'s ZXingReader.
// A decoder that does not run fails the calling test, so an empty reading always means "no
// barcode found".

#include <gtest/gtest.h>

#include <string>

#include "tests/Shell.h"

namespace ribbon::test {

inline bool HaveDecoders() {
    return !CaptureOutput("command -v zbarimg").empty() &&
           !CaptureOutput("command -v ZXingReader").empty();
}

// Every symbol zbarimg finds, one a line. Options go before the file (e.g. "-Supca.enable").
inline std::string ZbarRead(const std::string& file, const std::string& options = "") {
    const CommandResult r = RunCommand("zbarimg -q --raw " + options + " " + ShellQuote(file));
    // zbarimg exits 4 when it finds no barcode.
    EXPECT_TRUE(r.Status == 0 || r.Status == 4)
        << "zbarimg failed on " << file << " (status " << r.Status
        << "; zbar-tools, scripts/setup.sh installs it)";
    return r.Out;
}

// What ZXingReader finds, as bytes. Options go before the file (e.g. "-noscale").
inline std::string ZxingRead(const std::string& file, const std::string& options = "") {
    const CommandResult r = RunCommand("ZXingReader " + options + " -bytes " + ShellQuote(file));
    EXPECT_EQ(r.Status, 0) << "ZXingReader failed on " << file << " (status " << r.Status
                           << "; zxing-cpp-tools, scripts/setup.sh installs it)";
    return r.Out;
}

}  // namespace ribbon::test
