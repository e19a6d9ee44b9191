// The ribbon tool as scripts use it: JSON on stdout, errors on stderr, exit statuses.

#include <gtest/gtest.h>

#include "tests/cli/RunTool.h"

namespace ribbon::test {
namespace {

struct Case {
    std::vector<std::string> args;
    int status;
    std::string out;
    std::string err;
};

void Check(const Case& c) {
    const ToolResult r = RunTool(c.args);
    std::string cmd;
    for (const auto& a : c.args) cmd += a + " ";
    EXPECT_EQ(r.Status, c.status) << cmd;
    EXPECT_EQ(r.Out, c.out) << cmd;
    EXPECT_EQ(r.Err, c.err) << cmd;
}

TEST(RibbonTool, EncodePrintsPatternTextWidthsAndLength) {
    const Case cases[] = {
        {{"encode", "--type", "bcCode39", "--data", "A"},
         0,
         "{\"type\": 3, \"pattern\": \"51506060506050515060515060605\", \"text\": \"A\", "
         "\"widths\": [1, 2, 3, 4], \"width\": 38}\n",
         ""},
        {{"encode", "--type", "code93", "--data", "AB", "--modul", "3", "--ratio", "1.5"},
         0,
         "{\"type\": 8, \"pattern\": \"5050806050526051516160505150705050805\", \"text\": \"AB\", "
         "\"widths\": [3, 4, 6, 8], \"width\": 135}\n",
         ""},
        // --checksum, the ordinal form, --type=value and the data given as hex.
        {{"encode", "--type=3", "--data-hex", "41", "--checksum"},
         0,
         "{\"type\": 3, \"pattern\": \"515060605060505150606050515060515060605\", \"text\": \"A\", "
         "\"widths\": [1, 2, 3, 4], \"width\": 51}\n",
         ""},
        // Bytes outside printable ASCII come back as \u00XX; quotes and backslashes escaped. The
        // symbol is that of "%U/B%L": NUL, the dropped 0xFF, the quote and the backslash.
        {{"encode", "--type", "CODE39EXTENDED", "--data-hex", "00ff225c"},
         0,
         "{\"type\": 4, \"pattern\": "
         "\"5150606050505151515061505050605151505150506051506050515151505060505160515060605\", "
         "\"text\": \"\\u0000\\u00ff\\\"\\\\\", \"widths\": [1, 2, 3, 4], \"width\": 103}\n",
         "ribbon: warning: \"\\u0000\\u00ff\\\"\\\\\" is encoded as \"\\u0000\\\"\\\\\": 1 "
         "character "
         "that Code 39 Extended has no pattern for left out\n"},
    };
    for (const Case& c : cases) Check(c);
}

TEST(RibbonTool, MeasurePrintsLengthAndCanvasExtents) {
    const Case cases[] = {
        {{"measure", "--type", "code39", "--data", "1", "--modul", "2", "--ratio", "2.75"},
         0,
         "{\"width\": 94, \"canvasWidth\": 50, \"canvasHeight\": 94}\n",
         ""},
        {{"measure", "--type", "code39", "--data", "1", "--modul", "5", "--height", "51"},
         0,
         "{\"width\": 190, \"canvasWidth\": 52, \"canvasHeight\": 190}\n",
         ""},
        // 45 degrees: Round(190 * 0.7071 + 50 * 0.7071 + 0.5) = Round(170.2) for both.
        {{"measure", "--type", "code39", "--data", "1", "--modul", "5", "--angle", "45"},
         0,
         "{\"width\": 190, \"canvasWidth\": 170, \"canvasHeight\": 170}\n",
         ""},
    };
    for (const Case& c : cases) Check(c);
}

TEST(RibbonTool, EngineErrorsGoToStderrWithStatusOne) {
    const Case cases[] = {
        {{"encode", "--type", "code93", "--data", "ab"}, 1, "", "ribbon: ab : Code_93 bad data.\n"},
        {{"encode", "--type", "23", "--data", "1"}, 1, "", "ribbon: Wrong barcode type.\n"},
        {{"measure", "--type", "ean13", "--data", "12a"},
         1,
         "",
         "ribbon: 12a : Barcode must be numeric.\n"},
        {{"encode", "--type", "ean13", "--data", " 12a ", "--edition", "web"},
         1,
         "",
         "ribbon: 12a : Barcode must be numeric.\n"},
        {{"encode", "--type", "code128c", "--data", "CB", "--edition", "web"},
         1,
         "",
         "ribbon: CB : Barcode must be numeric.\n"},
    };
    for (const Case& c : cases) Check(c);
}

TEST(RibbonTool, CommandLineMistakesExitWithTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"encode", "--data", "A"},  // no type
        {"encode", "--type", "nosuchcode", "--data", "A"},
        {"encode", "--type", "256", "--data", "A"},
        {"encode", "--type", "code39"},  // no data
        {"encode", "--type", "code39", "--data", "A", "--data-hex", "41"},
        {"encode", "--type", "code39", "--data-hex", "4"},
        {"encode", "--type", "code39", "--data-hex", "zz"},
        {"encode", "--type", "code39", "--data", "A", "--modul", "1.5"},
        {"encode", "--type", "code39", "--data", "A", "--modul", "99999999999"},
        {"encode", "--type", "code39", "--data", "A", "--ratio", "two"},
        {"encode", "--type", "code39", "--data", "A", "--edition", "mobile"},
        {"encode", "--type", "code39", "--data", "A", "--bogus"},
        {"measure", "--type", "code39", "--data", "A", "--height"},
        {"help", "frobnicate"},
        {"help", "encode", "measure"},
        {"frobnicate", "--help"},
        {"--version", "encode"},
    };
    for (const auto& args : cases) {
        const ToolResult r = RunTool(args);
        EXPECT_EQ(r.Status, 2) << (args.empty() ? "" : args[0]);
        EXPECT_EQ(r.Out, "");
        EXPECT_EQ(r.Err.rfind("ribbon: ", 0), 0u) << r.Err;
    }
}

TEST(RibbonTool, TypesListsEveryOrdinalPerEdition) {
    const ToolResult desktop = RunTool({"types"});
    const ToolResult web = RunTool({"types", "--edition", "web"});
    ASSERT_EQ(desktop.Status, 0);
    ASSERT_EQ(web.Status, 0);
    EXPECT_NE(desktop.Out.find("7\tbcCode128C\tCode128C\tany\n"), std::string::npos);
    EXPECT_NE(web.Out.find("7\tbcCode128C\tCode128C\tnumeric\n"), std::string::npos);
    EXPECT_NE(desktop.Out.find("12\tbcCodeCodabar\tCodebar\tany\n"), std::string::npos);
    EXPECT_NE(desktop.Out.find("22\tbcCodeEAN128C\tEAN128C\tany\n"), std::string::npos);
    EXPECT_EQ(std::count(desktop.Out.begin(), desktop.Out.end(), '\n'), 23);
}

TEST(RibbonTool, HelpDocumentsTheCommands) {
    const ToolResult r = RunTool({"--help"});
    EXPECT_EQ(r.Status, 0);
    for (const char* word : {"types", "encode", "measure", "--data-hex", "--edition", "--checksum"})
        EXPECT_NE(r.Out.find(word), std::string::npos) << word;
}

}  // namespace
}  // namespace ribbon::test
