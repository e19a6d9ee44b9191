// The ribbon tool over the symbologies beyond Code 39 and Code 93, in both editions.

#include <gtest/gtest.h>

#include <string>

#include "RunTool.h"
#include "tests/AssertionText.h"

namespace ribbon::test {
namespace {

TEST(SymbologyTool, EncodesAndMeasures) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"encode", "--type", "upca", "--data", "12345678901", "--checksum", "--edition", "web"},
         R"({"type": 15, "pattern": "50526051615151608050526062505050505352515152705171505170505", "text": "012345678905", "widths": [1, 2, 3, 4], "width": 95})"},
        {{"encode", "--type", "bcCode128B", "--data-hex", "41ca42"},
         R"({"type": 6, "pattern": "6051535052628050705250626062606270506", "text": "A\u00caB", "widths": [1, 2, 3, 4], "width": 68})"},
        {{"encode", "--type", "matrix25", "--data", "", "--modul", "4"},
         R"({"type": 2, "pattern": "70505070505", "text": "", "widths": [4, 9, 13, 18], "width": 62})"},
        {{"measure", "--type", "codabar", "--data", "12"},
         R"({"width": 41, "canvasWidth": 50, "canvasHeight": 42})"},
    };
    for (const auto& [args, out] : cases) {
        const ToolResult r = RunTool(args);
        EXPECT_EQ(r.Status, 0) << r.Err;
        EXPECT_EQ(r.Out, out + "\n");
    }
}

TEST(SymbologyTool, ReportsRefusedData) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"encode", "--type", "ean13", "--data", "12345678901234", "--edition", "web"},
         "ribbon: EAN13 : Invalid barcode length. (BarDef.cpp, line N)\n"},
        {{"measure", "--type", "ean8", "--data", "123456789"},
         "ribbon: EAN8 : Invalid barcode length. (BarDef.cpp, line N)\n"},
        {{"encode", "--type", "codabar", "--data", "12a"}, "ribbon: 12a : Codabar bad data.\n"},
        {{"encode", "--type", "code128a", "--data-hex", "41ff"},
         "ribbon: A\xff : Code128 bad data.\n"},
    };
    for (const auto& [args, err] : cases) {
        const ToolResult r = RunTool(args);
        EXPECT_EQ(r.Status, 1);
        EXPECT_EQ(r.Out, "");
        EXPECT_EQ(WithoutLineNumber(r.Err), err);
    }
}

}  // namespace
}  // namespace ribbon::test
