// Data that the bars carry otherwise than typed: a warning on stderr and the job done, or with
// --strict an error and no file.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "tests/TestDatabase.h"
#include "tests/cli/RunTool.h"

namespace ribbon::test {
namespace {

namespace fs = std::filesystem;

const std::string WrongCheck =
    "\"5901234123458\" is encoded as \"5901234123458\": the check digit 8 is wrong (7 is right), "
    "so scanners refuse the symbol";

TEST(Warnings, EveryCommandWarnsAndStrictRefusesWithoutAFile) {
    const fs::path dir = fs::temp_directory_path() / ("ribbon-warn-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string out = (dir / "out").string();
    const std::vector<std::string> wrong = {"--type", "ean13", "--data", "5901234123458"};
    struct Case {
        std::vector<std::string> Args;
        std::string File;  // what the command writes, "" for none
    };
    const Case cases[] = {
        {{"encode"}, ""},
        {{"render", "--out", out + ".png"}, out + ".png"},
        {{"control", "--width", "200", "--height", "60", "--out", out + ".bmp"}, out + ".bmp"},
        {{"print", "--units", "mm", "--modul", "0.33", "--left", "10", "--top", "10", "--height",
          "20", "--out", out + ".pdf"},
         out + ".pdf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Args[0]);
        std::vector<std::string> args = c.Args;
        args.insert(args.begin() + 1, wrong.begin(), wrong.end());
        ToolResult r = RunTool(args);
        EXPECT_EQ(r.Status, 0);
        EXPECT_EQ(r.Err, "ribbon: warning: " + WrongCheck + "\n");
        EXPECT_TRUE(c.File.empty() || fs::exists(c.File));
        fs::remove(c.File);

        args.push_back("--strict");
        r = RunTool(args);
        EXPECT_EQ(r.Status, 1);
        EXPECT_EQ(r.Out, "");
        EXPECT_EQ(r.Err, "ribbon: " + WrongCheck + " (refused by --strict)\n");
        EXPECT_TRUE(c.File.empty() || !fs::exists(c.File));
    }
    fs::remove_all(dir);
}

TEST(Warnings, LabelsListAndCountThemAndStrictRefusesTheRecord) {
    TestDatabase db(
        "CREATE TABLE items(sku TEXT);"
        "INSERT INTO items VALUES ('5901234123457'), ('5901234123458');");
    const fs::path dir = fs::temp_directory_path() / ("ribbon-warn-l-" + std::to_string(getpid()));
    const std::vector<std::string> labels = {
        "labels", "--db",  db.Path(),   "--query",   "SELECT sku FROM items", "--column", "sku",
        "--type", "ean13", "--out-dir", dir.string()};
    ToolResult r = RunTool(labels);
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_NE(r.Err.find("5901234123458: warning: " + WrongCheck + "\n"), std::string::npos)
        << r.Err;
    EXPECT_NE(r.Out.find("\"written\": 2, \"refused\": 0, \"warnings\": 1"), std::string::npos)
        << r.Out;
    fs::remove_all(dir);

    std::vector<std::string> strict = labels;
    strict.push_back("--strict");
    r = RunTool(strict);
    EXPECT_EQ(r.Status, 1);
    EXPECT_NE(r.Out.find("\"written\": 1, \"refused\": 1, \"warnings\": 0"), std::string::npos)
        << r.Out;
    EXPECT_TRUE(fs::exists(dir / "5901234123457.png"));
    EXPECT_FALSE(fs::exists(dir / "5901234123458.png"));
    fs::remove_all(dir);
}

}  // namespace
}  // namespace ribbon::test
