// ribbon's help, whole and per command, and its version.

#include <gtest/gtest.h>

#include "tests/cli/RunTool.h"

namespace ribbon::test {
namespace {

constexpr auto npos = std::string::npos;

TEST(Help, EveryCommandHasItsOwnHelpInEveryWayOfAsking) {
    const std::pair<std::string, bool> commands[] = {
        // the command, whether it takes --strict
        {"types", false}, {"encode", true},  {"measure", false}, {"render", true},
        {"print", true},  {"control", true}, {"labels", true},
    };
    const ToolResult whole = RunTool({"--help"});
    ASSERT_EQ(whole.Status, 0);
    for (const auto& [command, strict] : commands) {
        const ToolResult help = RunTool({"help", command});
        EXPECT_EQ(help.Status, 0) << command;
        const std::string usage = "Usage:\n  ribbon " + command;
        ASSERT_EQ(help.Out.rfind(usage, 0), 0u) << help.Out;
        for (const auto& [other, _] : commands)
            EXPECT_TRUE(other == command || help.Out.find("ribbon " + other + " ") == npos)
                << other;
        EXPECT_NE(help.Out.find("Exit status:\n"), npos) << command;
        EXPECT_EQ(help.Out.find("--strict") != npos, strict) << command;
        // The command's usage is the very text of the whole help.
        const std::string block = help.Out.substr(7, help.Out.find("\n\n") - 6);
        EXPECT_NE(whole.Out.find(block), npos) << block;

        const std::vector<std::vector<std::string>> askings = {
            {command, "--help"},
            {command, "-h"},
            {"-h", command},
            {command, "--type", "nosuch", "--bogus", "--help"},  // --help wins over mistakes
        };
        for (const auto& asking : askings) {
            const ToolResult r = RunTool(asking);
            EXPECT_EQ(r.Status, 0) << asking.back();
            EXPECT_EQ(r.Out, help.Out) << command << " " << asking.back();
            EXPECT_EQ(r.Err, "");
        }
    }
}

TEST(Help, VersionIsTheProjectVersion) {
    for (const char* asking : {"--version", "-V"}) {
        const ToolResult r = RunTool({asking});
        EXPECT_EQ(r.Status, 0);
        EXPECT_EQ(r.Out, "ribbon " RIBBON_VERSION "\n");
    }
}

}  // namespace
}  // namespace ribbon::test
