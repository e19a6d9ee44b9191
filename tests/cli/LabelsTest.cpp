// ribbon labels over real SQLite files: every label read back by real decoders, refused records
// listed, and an interrupted run leaving only complete files.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <thread>

#include "tests/Decoders.h"
#include "tests/PdfTools.h"
#include "tests/TestDatabase.h"
#include "tests/cli/RunTool.h"

extern char** environ;

namespace ribbon::test {
namespace {

namespace fs = std::filesystem;

// The EAN-13 of twelve digits with its check digit.
std::string Ean13(long long twelveDigits) {
    std::string s = std::to_string(twelveDigits);
    s.insert(0, 12 - s.size(), '0');
    int sum = 0;
    for (int i = 0; i < 12; ++i) sum += (s[i] - '0') * (i % 2 ? 3 : 1);
    return s + static_cast<char>('0' + (10 - sum % 10) % 10);
}

// A database of `count` articles with valid EAN-13 numbers, plus the rows given.
std::string Articles(int count, const std::string& extraRows = "") {
    std::string sql =
        "CREATE TABLE items(id INTEGER PRIMARY KEY, sku TEXT, name TEXT);"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
        std::to_string(count) + ") INSERT INTO items(sku, name) SELECT NULL, 'a' || i FROM n;";
    for (int i = 1; i <= count; ++i)
        sql += "UPDATE items SET sku = '" + Ean13(400638133390LL + i * 7) +
               "' WHERE id = " + std::to_string(i) + ";";
    return sql + extraRows;
}

struct Folder {
    Folder()
        : path(fs::temp_directory_path() /
               ("ribbon-labels-" + std::to_string(getpid()) + "-" + std::to_string(counter++))) {
        fs::remove_all(path);
    }
    ~Folder() { fs::remove_all(path); }
    std::string operator/(const std::string& name) const { return (path / name).string(); }
    std::set<std::string> Files() const {
        std::set<std::string> names;
        if (fs::exists(path))
            for (const auto& entry : fs::directory_iterator(path))
                names.insert(entry.path().filename().string());
        return names;
    }
    fs::path path;
    static inline int counter = 0;
};

TEST(Labels, EveryFileDecodesToItsRecordAndRefusedRecordsAreListed) {
    if (!HaveTool("zbarimg", "zbar-tools") || !HaveTool("ZXingReader", "zxing-cpp-tools")) return;
    TestDatabase db(Articles(12,
                             "INSERT INTO items(sku, name) VALUES"
                             "('40063813339AB', 'letters'), ('12345678901234', 'long'),"
                             "('4006381333931', '../escape'), ('4006381333931', 'a3'),"
                             // A refused record leaves its name to the next.
                             "('12x', 'twice'), ('4006381333931', 'twice');"));
    Folder out;
    const ToolResult r =
        RunTool({"labels", "--db", db.Path(), "--query",
                 "SELECT sku, name FROM items WHERE id > ?1 ORDER BY id", "--param", "0",
                 "--column", "sku", "--name-column", "name", "--type", "ean13", "--modul", "2",
                 "--text", "barcode", "--out-dir", out.path.string()});
    EXPECT_EQ(r.Status, 1) << r.Err;
    EXPECT_NE(r.Err.find("letters: 40063813339AB : Barcode must be numeric.\n"), std::string::npos)
        << r.Err;
    EXPECT_NE(r.Err.find("long: EAN13 : Invalid barcode length."), std::string::npos) << r.Err;
    EXPECT_NE(r.Err.find("../escape: a file name cannot contain '/' or NUL\n"), std::string::npos);
    EXPECT_NE(r.Err.find("a3: an earlier record has the same file name\n"), std::string::npos);
    EXPECT_NE(r.Err.find("twice: 12x : Barcode must be numeric.\n"), std::string::npos) << r.Err;
    EXPECT_NE(r.Out.find("\"records\": 18, \"written\": 13, \"refused\": 5"), std::string::npos)
        << r.Out;

    std::set<std::string> expected = {"twice.png"};
    for (int i = 1; i <= 12; ++i) expected.insert("a" + std::to_string(i) + ".png");
    EXPECT_EQ(out.Files(), expected);
    for (int i = 1; i <= 12; ++i) {
        const std::string file = out / ("a" + std::to_string(i) + ".png");
        const std::string sku = Ean13(400638133390LL + i * 7);
        EXPECT_EQ(ZbarRead(file), sku) << file;
        EXPECT_EQ(ZxingRead(file), sku) << file;
    }
}

TEST(Labels, OnePdfWithAGridOfLabelsPerPage) {
    if (!HaveTool("zbarimg", "zbar-tools") || !HaveTool("pdfinfo", "poppler-utils")) return;
    TestDatabase db(Articles(30, "INSERT INTO items(sku, name) VALUES ('12x', 'bad');"));
    Folder out;
    fs::create_directories(out.path);
    const std::string pdf = out / "labels.pdf";
    const ToolResult r =
        RunTool({"labels",   "--db",     db.Path(), "--query", "SELECT sku FROM items ORDER BY id",
                 "--column", "sku",      "--type",  "ean13",   "--modul",
                 "3",        "--height", "80",      "--grid",  "3x8",
                 "--paper",  "a4",       "--dpi",   "300",     "--out",
                 pdf});
    EXPECT_EQ(r.Status, 1) << r.Err;
    EXPECT_NE(r.Err.find("12x: 12x : Barcode must be numeric.\n"), std::string::npos) << r.Err;
    EXPECT_NE(r.Out.find("\"written\": 30, \"refused\": 1, \"warnings\": 0, \"pages\": 2"),
              std::string::npos)
        << r.Out;
    EXPECT_NE(PdfToolOutput("pdfinfo", pdf).find("Pages:           2"), std::string::npos);

    // zbar finds every symbol on a page: the first page holds the first 24 records.
    const TBitmap page = RasterisePdf(pdf, 300, 300, 1);
    const std::string png = out / "page1.png";
    page.SaveToFile(png);
    std::set<std::string> read, expected;
    std::istringstream lines(ZbarRead(png));
    for (std::string line; std::getline(lines, line);) read.insert(line);
    for (int i = 1; i <= 24; ++i) expected.insert(Ean13(400638133390LL + i * 7));
    EXPECT_EQ(read, expected);
}

// Without --paper a first pass sizes the pages by the largest label; the refusals and warnings
// are told by that pass alone.
TEST(Labels, APdfOfALabelAPageTellsEachRefusalAndWarningOnce) {
    if (!HaveTool("pdfinfo", "poppler-utils")) return;
    TestDatabase db(Articles(3,
                             "INSERT INTO items(sku, name) VALUES ('12x', 'bad'),"
                             "('5901234123458', 'odd');"));
    Folder out;
    fs::create_directories(out.path);
    const std::string pdf = out / "labels.pdf";
    const ToolResult r =
        RunTool({"labels", "--db", db.Path(), "--query", "SELECT sku, name FROM items ORDER BY id",
                 "--column", "sku", "--name-column", "name", "--type", "ean13", "--out", pdf});
    EXPECT_EQ(r.Status, 1) << r.Err;
    auto count = [&](const std::string& text) {
        std::size_t n = 0;
        for (auto at = r.Err.find(text); at != std::string::npos; at = r.Err.find(text, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count("bad: 12x : Barcode must be numeric.\n"), 1u) << r.Err;
    EXPECT_EQ(count("odd: warning: "), 1u) << r.Err;
    EXPECT_NE(r.Out.find("\"written\": 4, \"refused\": 1, \"warnings\": 1, \"pages\": 4"),
              std::string::npos)
        << r.Out;
    EXPECT_NE(PdfToolOutput("pdfinfo", pdf).find("Pages:           4"), std::string::npos);
}

TEST(Labels, SvgFilesAreCompleteVectorPictures) {
    TestDatabase db(Articles(3));
    Folder out;
    const ToolResult r =
        RunTool({"labels", "--db", db.Path(), "--query", "SELECT sku, name FROM items", "--column",
                 "sku", "--name-column", "name", "--type", "ean13", "--format", "svg", "--out-dir",
                 out.path.string()});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(out.Files(), (std::set<std::string>{"a1.svg", "a2.svg", "a3.svg"}));
    const std::string svg = FileBytes(out / "a1.svg");
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("</svg>"), std::string::npos);
}

TEST(Labels, MistakesAreRefusedBeforeAnythingIsWritten) {
    TestDatabase db(Articles(2));
    const std::string before = FileBytes(db.Path());
    Folder out;
    const std::string dir = out.path.string();
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* message;
    };
    const std::vector<Case> cases = {
        {{"--query", "DELETE FROM items", "--column", "sku", "--out-dir", dir},
         1,
         "ribbon: A query must only read the database\n"},
        {{"--query", "SELECT sku FROM items", "--column", "price", "--out-dir", dir},
         1,
         "ribbon: Field 'price' not found\n"},
        {{"--query", "SELECT sku FROM items", "--column", "sku"},
         2,
         "ribbon: give exactly one of --out-dir and --out\n"},
        // An unbound parameter would read as NULL and select nothing.
        {{"--query", "SELECT sku FROM items WHERE id > ?1", "--column", "sku", "--out-dir", dir},
         2,
         "ribbon: the query has 1 parameter (?1) but no --param was given\n"},
        {{"--query", "SELECT sku FROM items WHERE id > ? AND name <> :name", "--param", "0",
          "--column", "sku", "--out", dir + "/x.pdf"},
         2,
         "ribbon: the query has 2 parameters (?1, :name) but 1 --param was given\n"},
        {{"--query", "SELECT sku FROM items", "--param", "1", "--param=2", "--column", "sku",
          "--out-dir", dir},
         2,
         "ribbon: the query has no parameters but 2 --param values were given\n"},
        {{"--query", "SELECT sku FROM items", "--column", "sku", "--out-dir", dir, "--grid", "2x2"},
         2,
         "ribbon: option --grid goes with --out FILE.pdf\n"},
        {{"--query", "SELECT sku FROM items", "--column", "sku", "--out", dir + "/x.png"},
         2,
         "ribbon: option --out: labels write one PDF; give a name ending in .pdf\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"labels", "--db", db.Path(), "--type", "ean13"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ToolResult r = RunTool(args);
        EXPECT_EQ(r.Status, c.status) << c.message;
        EXPECT_EQ(r.Err.substr(0, std::string(c.message).size()), c.message);
        EXPECT_TRUE(r.Out.empty()) << r.Out;
    }
    EXPECT_EQ(RunTool({"labels", "--db", dir + "/missing.db", "--query", "SELECT 1", "--column",
                       "1", "--type", "ean13", "--out-dir", dir})
                  .Status,
              1);
    EXPECT_TRUE(out.Files().empty());
    EXPECT_EQ(FileBytes(db.Path()), before);
}

// Each drawing thread reuses one bitmap: labels growing and shrinking from one record to the
// next must still be exactly what render draws for each alone.
TEST(Labels, EachPictureIsWhatRenderDrawsWhateverCameBefore) {
    const std::vector<std::string> data = {
        "A", "CODE128 LABELS", "12", "A much longer label text", "x", "7"};
    std::string sql = "CREATE TABLE items(id INTEGER PRIMARY KEY, data TEXT);";
    for (std::size_t i = 0; i < data.size(); ++i)
        sql += "INSERT INTO items VALUES (" + std::to_string(i) + ", '" + data[i] + "');";
    TestDatabase db(sql);
    Folder out;
    const std::vector<std::string> style = {"--type",  "code128b", "--modul", "2",
                                            "--ratio", "2.5",      "--text",  "barcode"};
    std::vector<std::string> args = {"labels",
                                     "--db",
                                     db.Path(),
                                     "--query",
                                     "SELECT data, 'label' || id AS name FROM items ORDER BY id",
                                     "--column",
                                     "data",
                                     "--name-column",
                                     "name",
                                     "--jobs",
                                     "1",
                                     "--out-dir",
                                     out.path.string()};
    args.insert(args.end(), style.begin(), style.end());
    const ToolResult r = RunTool(args);
    ASSERT_EQ(r.Status, 0) << r.Err;
    for (std::size_t i = 0; i < data.size(); ++i) {
        SCOPED_TRACE(data[i]);
        std::vector<std::string> render = {"render", "--data", data[i], "--out", out / "alone.png"};
        render.insert(render.end(), style.begin(), style.end());
        ASSERT_EQ(RunTool(render).Status, 0);
        EXPECT_EQ(FileBytes(out / ("label" + std::to_string(i) + ".png")),
                  FileBytes(out / "alone.png"));
    }
}

// The names of the first records are kept while the rest are still being read; later ones only
// when they occur twice among all records. A repeat is refused either way, however far apart.
TEST(Labels, ARepeatedNameIsRefusedHoweverFarApart) {
    TestDatabase db(
        "CREATE TABLE items(id INTEGER PRIMARY KEY, sku TEXT, name TEXT);"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
        "INSERT INTO items SELECT i, '4006381333931', 'n' || i FROM n;"
        "UPDATE items SET name = 'n1' WHERE id = 2999;"
        "UPDATE items SET name = 'n2000' WHERE id = 2998;"
        "UPDATE items SET sku = '12x' WHERE id = 1500;"
        "UPDATE items SET name = 'n1500' WHERE id = 2997;");
    Folder out;
    const ToolResult r =
        RunTool({"labels", "--db", db.Path(), "--query", "SELECT sku, name FROM items ORDER BY id",
                 "--column", "sku", "--name-column", "name", "--type", "ean13", "--out-dir",
                 out.path.string()});
    EXPECT_EQ(r.Status, 1);
    EXPECT_NE(r.Out.find("\"records\": 3000, \"written\": 2997, \"refused\": 3"), std::string::npos)
        << r.Out;
    for (const char* line : {"n1: an earlier record has the same file name\n",
                             "n2000: an earlier record has the same file name\n",
                             "n1500: 12x : Barcode must be numeric.\n"})
        EXPECT_NE(r.Err.find(line), std::string::npos) << line;
    const std::set<std::string> files = out.Files();
    EXPECT_EQ(files.size(), 2997u);
    EXPECT_EQ(files.count("n1500.png"), 1u);
    EXPECT_EQ(files.count("n2999.png"), 0u);
}

// A second run into the same folder replaces each file whole; new and replaced files alike get
// the mode that the umask gives new files.
TEST(Labels, ARunAgainReplacesTheFilesWithTheModeOfNewFiles) {
    TestDatabase db(Articles(3));
    Folder out;
    auto run = [&](const char* modul) {
        return RunTool({"labels", "--db", db.Path(), "--query", "SELECT sku, name FROM items",
                        "--column", "sku", "--name-column", "name", "--type", "ean13", "--modul",
                        modul, "--out-dir", out.path.string()});
    };
    const mode_t previous = umask(027);
    const ToolResult first = run("1");
    const std::string before = FileBytes(out / "a1.png");
    const ToolResult second = run("3");
    umask(previous);
    ASSERT_EQ(first.Status, 0) << first.Err;
    ASSERT_EQ(second.Status, 0) << second.Err;
    EXPECT_EQ(out.Files(), (std::set<std::string>{"a1.png", "a2.png", "a3.png"}));
    EXPECT_GT(FileBytes(out / "a1.png").size(), before.size());
    for (const std::string& name : out.Files())
        EXPECT_EQ(fs::status(out / name).permissions(),
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read)
            << name;
}

TEST(Labels, AnInterruptedRunLeavesOnlyCompleteFiles) {
    TestDatabase db(Articles(1) +
                    "WITH RECURSIVE n(i) AS (SELECT 2 UNION ALL SELECT i + 1 FROM n "
                    "WHERE i < 10000) INSERT INTO items SELECT i, "
                    "(SELECT sku FROM items WHERE id = 1), 'b' || i FROM n;");
    Folder out;
    const std::string dir = out.path.string();
    std::vector<std::string> args = {RIBBON_TOOL, "labels",    "--db",
                                     db.Path(),   "--query",   "SELECT sku, name FROM items",
                                     "--column",  "sku",       "--name-column",
                                     "name",      "--type",    "ean13",
                                     "--modul",   "3",         "--text",
                                     "both",      "--out-dir", dir};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, RIBBON_TOOL, &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    // Interrupt once the run is well under way.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (out.Files().size() < 200 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    kill(pid, SIGINT);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);

    const std::set<std::string> files = out.Files();
    EXPECT_GE(files.size(), 200u);
    EXPECT_LT(files.size(), 10000u) << "the run ended before the interruption";
    const std::string pngEnd("IEND\xAE\x42\x60\x82", 8);
    for (const std::string& name : files) {
        ASSERT_NE(name.front(), '.') << "a temporary file was left: " << name;
        const std::string bytes = FileBytes(out / name);
        ASSERT_TRUE(bytes.size() > 8 && bytes.compare(bytes.size() - 8, 8, pngEnd) == 0)
            << name << " is truncated";
    }
}

}  // namespace
}  // namespace ribbon::test
