// The ribbon tool over the symbologies beyond Code 39 and Code 93, in both editions.

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "RunTool.h"

namespace ribbon::test {
namespace {

TEST(SymbologyTool, EncodesEverySymbology) {
    struct Case {
        std::vector<std::string> Args;
        std::string Out;
    };
    const Case cases[] = {
        {{"encode", "--type", "ean13", "--data", "590123412345", "--checksum"},
         R"({"type": 14, "pattern": "50525060517061615160805170505050616060615350507151705251505", "text": "590123412345", "widths": [1, 2, 3, 4], "width": 95})"},
        {{"encode", "--type", "upca", "--data", "12345678901", "--checksum", "--edition", "web"},
         R"({"type": 15, "pattern": "50526051615151608050526062505050505352515152705171505170505", "text": "012345678905", "widths": [1, 2, 3, 4], "width": 95})"},
        {{"encode", "--type", "code128c", "--data", " 123 ", "--edition", "web"},
         R"({"type": 7, "pattern": "6051716160617060706052706270506", "text": "0123", "widths": [1, 2, 3, 4], "width": 57})"},
        {{"encode", "--type", "bcCode128B", "--data-hex", "41ca42"},
         R"({"type": 6, "pattern": "6051535052628050705250626062606270506", "text": "A\u00caB", "widths": [1, 2, 3, 4], "width": 68})"},
        {{"encode", "--type", "matrix25", "--data", "", "--modul", "4"},
         R"({"type": 2, "pattern": "70505070505", "text": "", "widths": [4, 9, 13, 18], "width": 62})"},
        {{"measure", "--type", "codabar", "--data", "12"},
         R"({"width": 41, "canvasWidth": 50, "canvasHeight": 42})"},
    };
    for (const Case& c : cases) {
        const ToolResult r = RunTool(c.Args);
        EXPECT_EQ(r.Status, 0) << r.Err;
        EXPECT_EQ(r.Out, c.Out + "\n");
    }
}

TEST(SymbologyTool, ReportsRefusedData) {
    struct Case {
        std::vector<std::string> Args;
        std::string Err;  // a regular expression
    };
    const Case cases[] = {
        {{"encode", "--type", "ean13", "--data", "12345678901234", "--edition", "web"},
         R"(ribbon: EAN13 : Invalid barcode length\. \(BarDef\.cpp, line [0-9]+\)\n)"},
        {{"measure", "--type", "ean8", "--data", "123456789"},
         R"(ribbon: EAN8 : Invalid barcode length\. \(BarDef\.cpp, line [0-9]+\)\n)"},
        {{"encode", "--type", "codabar", "--data", "12a"}, "ribbon: 12a : Codabar bad data\\.\n"},
        {{"encode", "--type", "code128a", "--data-hex", "41ff"},
         "ribbon: A\xff : Code128 bad data\\.\n"},
        {{"encode", "--type", "code128c", "--data", "F1", "--edition", "web"},
         "ribbon: F1 : Barcode must be numeric\\.\n"},
        {{"encode", "--type", "supp2", "--data", "99999999999"},
         "ribbon: '99999999999' is not a valid integer value\n"},
    };
    for (const Case& c : cases) {
        const ToolResult r = RunTool(c.Args);
        EXPECT_EQ(r.Status, 1);
        EXPECT_EQ(r.Out, "");
        EXPECT_TRUE(std::regex_match(r.Err, std::regex(c.Err))) << r.Err;
    }
}

}  // namespace
}  // namespace ribbon::test
