// The options as declared (cli/OptionTable.cpp) against what the tool does with them: every
// option a command takes is in that command's help, every declared range is enforced at both
// ends, and an option that may be repeated keeps every value.

#include <gtest/gtest.h>

#include "cli/OptionTable.h"
#include "tests/TestDatabase.h"
#include "tests/cli/RunTool.h"

namespace ribbon::test {
namespace {

using namespace ribbon::cli;

constexpr std::pair<Command, const char*> Commands[] = {
    {cmdTypes, "types"},          {cmdEncode, "encode"}, {cmdMeasure, "measure"},
    {cmdPrintMeasure, "measure"}, {cmdRender, "render"}, {cmdControl, "control"},
    {cmdPrint, "print"},          {cmdLabels, "labels"},
};

TEST(OptionTable, EveryOptionACommandTakesIsInItsHelp) {
    for (const auto& [command, name] : Commands) {
        const ToolResult help = RunTool({"help", name});
        ASSERT_EQ(help.Status, 0) << name;
        for (const OptionDecl& o : OptionDecls()) {
            if (!(o.Commands & command)) continue;
            EXPECT_NE(help.Out.find("--" + std::string(o.Name)), std::string::npos)
                << name << " --" << o.Name;
        }
    }
}

TEST(OptionTable, EveryDeclaredRangeIsEnforcedAtBothEnds) {
    const TestDatabase db("CREATE TABLE t(a TEXT); INSERT INTO t VALUES ('1');");
    const std::string png = testing::TempDir() + "ribbon-ranges.png";
    const std::string pdf = testing::TempDir() + "ribbon-ranges.pdf";
    // A command line that gets as far as reading the option, per command.
    const std::pair<Command, std::vector<std::string>> lines[] = {
        {cmdRender, {"render", "--type", "code39", "--data", "1", "--out", png}},
        {cmdControl, {"control", "--type", "code39", "--data", "1", "--out", png}},
        {cmdPrint,
         {"print", "--type", "code39", "--data", "1", "--units", "mm", "--modul", "0.3", "--left",
          "1", "--top", "1", "--height", "10", "--out", pdf}},
        {cmdLabels,
         {"labels", "--type", "code39", "--db", db.Path(), "--query", "SELECT a FROM t", "--column",
          "a", "--out", pdf}},
    };
    int checked = 0;
    for (const auto& [command, line] : lines)
        for (const OptionDecl& o : OptionDecls()) {
            if (!(o.Commands & command) || o.Least > o.Most) continue;
            for (long long v : {o.Least, o.Most}) {  // the ends are inside
                std::vector<std::string> args = line;
                args.insert(args.end(), {"--" + std::string(o.Name), std::to_string(v)});
                EXPECT_EQ(RunTool(args).Err.find("is outside"), std::string::npos)
                    << line[0] << " --" << o.Name << " " << v;
            }
            for (long long v : {o.Least - 1, o.Most + 1}) {
                std::vector<std::string> args = line;
                args.insert(args.end(), {"--" + std::string(o.Name), std::to_string(v)});
                const ToolResult r = RunTool(args);
                EXPECT_EQ(r.Status, 2) << line[0] << " --" << o.Name << " " << v;
                // labels may show its progress first
                EXPECT_TRUE(r.Err.ends_with(
                    "ribbon: option --" + std::string(o.Name) + ": " + std::to_string(v) +
                    " is outside " + std::to_string(o.Least) + ".." + std::to_string(o.Most) +
                    "\n(see 'ribbon " + line[0] + " --help')\n"))
                    << r.Err;
                ++checked;
            }
        }
    EXPECT_GE(checked, 2 * 9);  // every range declared today
    std::remove(png.c_str());
    std::remove(pdf.c_str());
}

TEST(OptionTable, RepeatedOptionsKeepEveryValueAndNeedOne) {
    const std::string out = testing::TempDir() + "ribbon-repeated.pdf";
    const ToolResult print =
        RunTool({"print", "--type",  "code39",   "--data",  "A",     "--data=B", "--data",
                 "C",     "--units", "mm",       "--modul", "0.3",   "--left",   "5",
                 "--top", "5",       "--height", "10",      "--out", out});
    EXPECT_EQ(print.Status, 0) << print.Err;
    EXPECT_NE(print.Out.find("\"pages\": 3"), std::string::npos) << print.Out;
    std::remove(out.c_str());
    const ToolResult last = RunTool({"print", "--type", "code39", "--data"});
    EXPECT_EQ(last.Status, 2);
    EXPECT_EQ(last.Err, "ribbon: option --data needs a value\n(see 'ribbon print --help')\n");
}

}  // namespace
}  // namespace ribbon::test
