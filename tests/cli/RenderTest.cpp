// ribbon render: the picture file, its default size and placement, the drawing options, and the
// mistakes a user can make.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "graphics/Bitmap.h"
#include "tests/cli/RunTool.h"

namespace ribbon::test {
namespace {

std::string TempName(const std::string& extension) {
    static int n = 0;
    return "/tmp/ribbon-render-test-" + std::to_string(getpid()) + "-" + std::to_string(n++) +
           extension;
}

std::string ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

struct Rendered {
    ToolResult result;
    TBitmap picture;
};

Rendered Render(std::vector<std::string> args, const std::string& extension = ".png") {
    const std::string out = TempName(extension);
    args.insert(args.begin(), "render");
    args.insert(args.end(), {"--out", out});
    Rendered r{RunTool(args), TBitmap()};
    if (r.result.Status == 0) r.picture.LoadFromFile(out);
    std::remove(out.c_str());
    return r;
}

TEST(Render, WritesTheFormatItsExtensionNames) {
    const std::pair<const char*, std::string> cases[] = {
        {".png", "\x89PNG"},       {".PNG", "\x89PNG"}, {".jpg", "\xFF\xD8\xFF"},
        {".jpeg", "\xFF\xD8\xFF"}, {".bmp", "BM"},
    };
    for (const auto& [extension, magic] : cases) {
        const std::string out = TempName(extension);
        const ToolResult r = RunTool({"render", "--type", "code39", "--data", "A", "--out", out});
        EXPECT_EQ(r.Status, 0) << r.Err;
        EXPECT_EQ(ReadFile(out).substr(0, magic.size()), magic) << extension;
        std::remove(out.c_str());
    }
}

TEST(Render, ByDefaultTheSymbolSitsInAQuietZoneOfTenModules) {
    // Code 39 "A" is 38 modules; at Modul 3 and the default height 50: 114 x 50 behind 30 pixels.
    Rendered r = Render({"--type", "code39", "--data", "A", "--modul", "3"});
    ASSERT_EQ(r.result.Status, 0) << r.result.Err;
    EXPECT_TRUE(
        EndsWith(r.result.Out, ", \"width\": 174, \"height\": 110, \"left\": 30, \"top\": 30}\n"))
        << r.result.Out;
    EXPECT_EQ(r.picture.Width(), 30 + 114 + 30);
    EXPECT_EQ(r.picture.Height(), 30 + 50 + 30);
    TCanvas& c = r.picture.Canvas();
    EXPECT_EQ(c.Pixel(29, 30), clWhite);
    EXPECT_EQ(c.Pixel(30, 30), clBlack);  // the start character's first bar
    EXPECT_EQ(c.Pixel(30, 80), clBlack);  // bars run Height + 1 rows
    EXPECT_EQ(c.Pixel(30, 81), clWhite);
    EXPECT_EQ(c.Pixel(143, 55), clBlack);  // the stop character's last bar
    EXPECT_EQ(c.Pixel(144, 55), clWhite);

    // Turned, the picture takes the upright box of the turned symbol as the engine measures it
    // (across: the canvas height, down: the canvas width), plus the quiet zone.
    for (const char* angle : {"90", "30", "217.5"}) {
        Rendered turned =
            Render({"--type", "code39", "--data", "A", "--modul", "3", "--angle", angle});
        const ToolResult m = RunTool(
            {"measure", "--type", "code39", "--data", "A", "--modul", "3", "--angle", angle});
        ASSERT_EQ(turned.result.Status, 0);
        int width = 0, canvasWidth = 0, canvasHeight = 0;
        ASSERT_EQ(
            std::sscanf(m.Out.c_str(), "{\"width\": %d, \"canvasWidth\": %d, \"canvasHeight\": %d}",
                        &width, &canvasWidth, &canvasHeight),
            3);
        EXPECT_EQ(turned.picture.Width(), 30 + canvasHeight + 30) << angle;
        EXPECT_EQ(turned.picture.Height(), 30 + canvasWidth + 30) << angle;
    }
}

TEST(Render, SizeAndPlacementPutTheCallExactlyThere) {
    Rendered r = Render({"--type", "code39", "--data", "A", "--size", "300x120", "--left", "7",
                         "--top", "9", "--height", "40", "--background", "Silver"});
    ASSERT_EQ(r.result.Status, 0) << r.result.Err;
    EXPECT_TRUE(
        EndsWith(r.result.Out, ", \"width\": 300, \"height\": 120, \"left\": 7, \"top\": 9}\n"))
        << r.result.Out;
    TCanvas& c = r.picture.Canvas();
    EXPECT_EQ(c.Pixel(6, 9), clSilver);
    EXPECT_EQ(c.Pixel(7, 9), clBlack);
    EXPECT_EQ(c.Pixel(7, 49), clBlack);
    EXPECT_EQ(c.Pixel(7, 50), clSilver);
    EXPECT_EQ(c.Pixel(299, 119), clSilver);
}

TEST(Render, ColoursAndTextFollowTheOptions) {
    Rendered r = Render({"--type",
                         "code39",
                         "--data",
                         "AB",
                         "--modul",
                         "2",
                         "--bar-color",
                         "#0000FF",
                         "--space-color",
                         "yellow",
                         "--text",
                         "both",
                         "--text-position",
                         "top-left",
                         "--text-background",
                         "#00ff00",
                         "--font-color",
                         "Red",
                         "--font",
                         "Courier",
                         "--font-size",
                         "12",
                         "--bold"});
    ASSERT_EQ(r.result.Status, 0) << r.result.Err;
    TCanvas& c = r.picture.Canvas();
    EXPECT_EQ(c.Pixel(20, 60), clBlue);    // #RRGGBB: blue
    EXPECT_EQ(c.Pixel(22, 60), clYellow);  // the first narrow space
    EXPECT_EQ(c.Pixel(20, 20), clLime);    // the text cell at the top left
    int ink = 0;
    for (int y = 20; y < 40; ++y)
        for (int x = 20; x < 120; ++x) ink += c.Pixel(x, y) == clRed;
    EXPECT_GT(ink, 20);
}

TEST(Render, TheWebEditionDrawsTheTrimmedData) {
    Rendered web = Render({"--type", "code39", "--data", "  AB\t", "--edition", "web"});
    Rendered desktop = Render({"--type", "code39", "--data", "AB"});
    ASSERT_EQ(web.result.Status, 0) << web.result.Err;
    ASSERT_EQ(desktop.result.Status, 0);
    ASSERT_EQ(web.picture.Width(), desktop.picture.Width());
    for (int y = 0; y < web.picture.Height(); ++y)
        ASSERT_EQ(0, std::memcmp(web.picture.ScanLine(y), desktop.picture.ScanLine(y),
                                 web.picture.Width() * 3));
}

TEST(Render, MistakesAreReportedAndLeaveNoFile) {
    const std::string out = TempName(".png");
    struct Case {
        std::vector<std::string> args;  // after --type code39 --data A
        int status;
        std::string err;  // the whole message for engine errors, its start for usage errors
    };
    const Case cases[] = {
        {{"--type", "code93", "--data", "ab", "--out", out}, 1, "ribbon: ab : Code_93 bad data.\n"},
        {{"--out", "/nonexistent/x.png"},
         1,
         "ribbon: Cannot create file \"/nonexistent/x.png\". No such file or directory\n"},
        {{"--out", out, "--size", "70000x10"},
         1,
         "ribbon: A picture of 65536 x 10 pixels is out of range (each side at most 65535, at "
         "most 67108864 pixels).\n"},
        {{}, 2, "ribbon: option --out is required"},
        {{"--out", "/tmp/x.gif"}, 2, "ribbon: option --out: '/tmp/x.gif' does not end in"},
        {{"--out", out, "--bar-color", "#12345"}, 2, "ribbon: option --bar-color: '#12345' is"},
        {{"--out", out, "--background", "Mauve"}, 2, "ribbon: option --background: 'Mauve'"},
        {{"--out", out, "--text", "all"},
         2,
         "ribbon: option --text: 'all' is not one of none|barcode|bartype|both"},
        {{"--out", out, "--size", "0x10"}, 2, "ribbon: option --size: '0x10' is not"},
        {{"--out", out, "--modul", "0"}, 2, "ribbon: option --modul"},
        {{"--out", out, "--angle", "nan"}, 2, "ribbon: option --angle"},
        {{"--out", out, "--font-size", "4000"}, 2, "ribbon: option --font-size"},
        {{"--out", "-"}, 2, "ribbon: option --out -: give --format png|svg|pdf|jpeg|bmp"},
        {{"--out", "-", "--format", "gif"}, 2, "ribbon: option --format: 'gif' is not one of"},
        {{"--out", out, "--format", "pdf"}, 2, "ribbon: option --format: 'pdf' does not match"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"render", "--type", "code39", "--data", "A"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ToolResult r = RunTool(args);
        EXPECT_EQ(r.Status, c.status) << r.Err;
        EXPECT_EQ(r.Out, "");
        EXPECT_EQ(c.status == 1 ? r.Err : r.Err.substr(0, c.err.size()), c.err);
        EXPECT_FALSE(std::ifstream(out).good()) << c.err;
    }
}

TEST(Render, DashPutsThePictureAloneOnStandardOutput) {
    // The same bytes as the file; a PDF's creation date is the time of writing.
    auto undated = [](std::string pdf) {
        const auto at = pdf.find("/CreationDate (D:");
        return at == std::string::npos ? pdf : pdf.erase(at, pdf.find(')', at) - at);
    };
    for (const std::string format : {"png", "jpeg", "bmp", "svg", "pdf"}) {
        const std::vector<std::string> symbol = {
            "render", "--type", "ean8", "--data", "12345670", "--text", "barcode", "--angle", "30"};
        std::vector<std::string> toFile = symbol, toPipe = symbol;
        const std::string file = TempName("." + format);
        toFile.insert(toFile.end(), {"--out", file});
        toPipe.insert(toPipe.end(), {"--out", "-", "--format", format});
        ASSERT_EQ(RunTool(toFile).Status, 0) << format;
        const ToolResult piped = RunTool(toPipe);
        EXPECT_EQ(piped.Status, 0) << piped.Err;
        EXPECT_EQ(piped.Err, "");
        EXPECT_GT(piped.Out.size(), 100u) << format;
        EXPECT_EQ(undated(piped.Out), undated(ReadFile(file))) << format;
        std::remove(file.c_str());
    }
}

// The tool's status and stderr when its standard output is the descriptor Out.
ToolResult RunWithOutput(int out, const std::vector<std::string>& args) {
    int err[2];
    if (pipe(err) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out, STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        std::vector<char*> argv{const_cast<char*>(RIBBON_TOOL)};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(RIBBON_TOOL, argv.data());
        _exit(127);
    }
    close(err[1]);
    ToolResult r;
    char buf[256];
    for (ssize_t n; (n = read(err[0], buf, sizeof buf)) > 0;) r.Err.append(buf, n);
    close(err[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    r.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

TEST(Render, AFailedWriteToStandardOutputIsAnErrorNotADeath) {
    const std::vector<std::string> args = {"render", "--type", "code39",   "--data", "A",
                                           "--out",  "-",      "--format", "png"};
    const int full = open("/dev/full", O_WRONLY);
    ASSERT_GE(full, 0);
    EXPECT_EQ(RunWithOutput(full, args).Err,
              "ribbon: Cannot write to standard output: No space left on device.\n");
    close(full);
    int readerGone[2];
    ASSERT_EQ(pipe(readerGone), 0);
    close(readerGone[0]);
    const ToolResult r = RunWithOutput(readerGone[1], args);
    close(readerGone[1]);
    EXPECT_EQ(r.Status, 1);  // not killed by SIGPIPE
    EXPECT_EQ(r.Err, "ribbon: Cannot write to standard output: Broken pipe.\n");
}

TEST(Render, HelpDocumentsTheDrawingOptions) {
    const ToolResult r = RunTool({"--help"});
    for (const char* word : {"render",
                             "--out",
                             "--left",
                             "--top",
                             "--height",
                             "--angle",
                             "--text-position",
                             "bottom-center",
                             "--bar-color",
                             "--space-color",
                             "--text-background",
                             "--background",
                             "--font",
                             "--font-size",
                             "--font-color",
                             "--bold",
                             "--italic",
                             "--underline",
                             "--strikeout",
                             "--size",
                             "#RRGGBB",
                             "LtGray"})
        EXPECT_NE(r.Out.find(word), std::string::npos) << word;
}

}  // namespace
}  // namespace ribbon::test
