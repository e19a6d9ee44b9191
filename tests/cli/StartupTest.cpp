// The tool loads the libraries only some commands use (cairo, SQLite, fontconfig, FreeType,
// libjpeg, stb) when a command first calls them, and a library that cannot be loaded fails the
// job cleanly.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "tests/TestDatabase.h"
#include "tests/cli/RunTool.h"

namespace ribbon::test {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> Optional = {"libcairo.so.2",      "libsqlite3.so.0",
                                           "libfontconfig.so.1", "libfreetype.so.6",
                                           "libjpeg.so.62",      "libstb.so.0"};

// Sets an environment variable for the tool runs in its scope.
struct ScopedEnv {
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = getenv(name)) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }
    const char* name_;
    std::optional<std::string> old_;
};

struct TempFolder {
    TempFolder()
        : path(fs::temp_directory_path() / ("ribbon-startup-" + std::to_string(getpid()))) {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempFolder() { fs::remove_all(path); }
    std::string operator/(const std::string& name) const { return (path / name).string(); }
    fs::path path;
};

const std::string Sql = "CREATE TABLE items(sku TEXT); INSERT INTO items VALUES ('5901234123457');";

TEST(Startup, CommandsLoadOnlyTheLibrariesTheyCall) {
#if !RIBBON_LAZY_LIBRARIES
    GTEST_SKIP() << "this build loads every library at start-up";
#endif
    const TempFolder dir;
    const TestDatabase db(Sql);
    const std::vector<std::string> ean = {"--type", "ean13", "--data", "5901234123457"};
    auto with = [&](std::vector<std::string> args) {
        args.insert(args.begin() + 1, ean.begin(), ean.end());
        return args;
    };
    struct Case {
        std::vector<std::string> args;
        std::vector<std::string> loaded;  // of the optional libraries, these (with what they need)
        std::vector<std::string> unloaded;  // and none of these
    };
    const Case cases[] = {
        {{"types"}, {}, Optional},
        {{"render", "--help"}, {}, Optional},
        {with({"encode"}), {}, Optional},
        {with({"measure", "--angle", "30"}), {}, Optional},
        {with({"render", "--out", dir / "a.png"}), {}, Optional},
        {with({"render", "--out", dir / "a.bmp"}), {}, Optional},
        {with({"render", "--out", dir / "a.jpg"}),
         {"libjpeg.so.62"},
         {"libcairo.so.2", "libsqlite3.so.0", "libfontconfig.so.1", "libfreetype.so.6"}},
        {with({"render", "--out", dir / "a.svg"}),
         {"libcairo.so.2"},
         {"libsqlite3.so.0", "libjpeg.so.62", "libstb.so.0"}},
        {{"labels", "--db", db.Path(), "--query", "SELECT sku FROM items", "--column", "sku",
          "--type", "ean13", "--out-dir", dir / "labels"},
         {"libsqlite3.so.0"},
         {"libcairo.so.2", "libfontconfig.so.1", "libfreetype.so.6", "libjpeg.so.62"}},
    };
    // The loader lists every object it loads into files named after the process.
    const std::string log = dir / "log";
    fs::create_directories(log);
    const ScopedEnv debug("LD_DEBUG", "files"), output("LD_DEBUG_OUTPUT", log + "/ld");
    for (const Case& c : cases) {
        const ToolResult r = RunTool(c.args);
        std::string cmd;
        for (const auto& a : c.args) cmd += a + " ";
        ASSERT_EQ(r.Status, 0) << cmd << r.Err;
        std::string files;
        for (const auto& entry : fs::directory_iterator(log)) files += FileBytes(entry.path());
        fs::remove_all(log);
        fs::create_directories(log);
        auto loads = [&](const std::string& library) {
            return files.find("file=" + library + " ") != std::string::npos;
        };
        for (const std::string& library : c.loaded) EXPECT_TRUE(loads(library)) << cmd << library;
        for (const std::string& library : c.unloaded)
            EXPECT_FALSE(loads(library)) << cmd << library;
    }
}

TEST(Startup, ALibraryThatCannotBeLoadedFailsTheJobWithoutAFile) {
#if !RIBBON_LAZY_LIBRARIES
    GTEST_SKIP() << "this build loads every library at start-up";
#endif
    const TempFolder dir;
    const TestDatabase db(Sql);
    // An empty file in the loader's path first stands for a damaged library.
    const std::string broken = dir / "lib";
    fs::create_directories(broken);
    for (const std::string& library : Optional) std::ofstream(broken + "/" + library).close();
    const std::string out = dir / "out";
    struct Case {
        std::vector<std::string> args;
        std::string library;
    };
    const Case cases[] = {
        {{"render", "--type", "ean13", "--data", "5901234123457", "--out", out + "/a.svg"},
         "libcairo.so.2"},
        {{"render", "--type", "ean13", "--data", "5901234123457", "--out", out + "/a.pdf"},
         "libcairo.so.2"},
        {{"render", "--type", "ean13", "--data", "5901234123457", "--out", out + "/a.jpg"},
         "libjpeg.so.62"},
        {{"print", "--type", "ean13", "--data", "5901234123457", "--units", "mm", "--modul", "0.33",
          "--left", "10", "--top", "10", "--height", "20", "--out", out + "/p.pdf"},
         "libcairo.so.2"},
        {{"labels", "--db", db.Path(), "--query", "SELECT sku FROM items", "--column", "sku",
          "--type", "ean13", "--out-dir", out},
         "libsqlite3.so.0"},
    };
    const ScopedEnv path("LD_LIBRARY_PATH", broken);
    for (const Case& c : cases) {
        fs::remove_all(out);
        fs::create_directories(out);
        const ToolResult r = RunTool(c.args);
        EXPECT_EQ(r.Status, 1) << c.args.back();
        EXPECT_EQ(r.Out, "") << c.args.back();
        EXPECT_EQ(r.Err, "ribbon: cannot load a library: " + broken + "/" + c.library +
                             ": file too short\n")
            << c.args.back();
        EXPECT_TRUE(fs::is_empty(out)) << c.args.back() << " left a file";
    }
}

}  // namespace
}  // namespace ribbon::test
