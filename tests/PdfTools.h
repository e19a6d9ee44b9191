#pragma once
// Poppler's command-line tools as the tests' independent readers of PDF files: rasterise a page
// at a given resolution without smoothing, read its size, list its images and fonts.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "graphics/Bitmap.h"
#include "tests/Shell.h"

namespace ribbon::test {

// Fails the calling test when a tool is missing, so a check never passes without its reader.
inline bool HaveTool(const std::string& tool, const std::string& package) {
    const bool found = !CaptureOutput("command -v " + tool).empty();
    EXPECT_TRUE(found) << tool << " is not installed (" << package << ", scripts/setup.sh)";
    return found;
}

// Page `page` of the PDF as pixels at DpiX x DpiY, bars and glyphs not smoothed.
inline TBitmap RasterisePdf(const std::string& pdf, int dpiX, int dpiY, int page = 1) {
    const std::string base = "/tmp/ribbon-pdf-raster-" + std::to_string(getpid());
    CaptureOutput("pdftoppm -png -singlefile -aa no -aaVector no -rx " + std::to_string(dpiX) +
                  " -ry " + std::to_string(dpiY) + " -f " + std::to_string(page) + " -l " +
                  std::to_string(page) + " " + ShellQuote(pdf) + " " + ShellQuote(base));
    TBitmap picture;
    picture.LoadFromFile(base + ".png");
    std::remove((base + ".png").c_str());
    return picture;
}

// What a poppler tool prints about the PDF: Tool is the command and its options ("pdfinfo",
// "pdfimages -list"), Trailing what follows the file name ("-" for pdftotext's standard output).
inline std::string PdfToolOutput(const std::string& tool, const std::string& pdf,
                                 const std::string& trailing = "") {
    return CaptureOutput(tool + " " + ShellQuote(pdf) + " " + trailing);
}

}  // namespace ribbon::test
