// ribbon render: the picture file, its default size and placement, the drawing options, and the
// mistakes a user can make.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "runtime/Bitmap.h"
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
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;  // the whole message for engine errors, its start for usage errors
    };
    const std::string out = TempName(".png");
    const Case cases[] = {
        {{"--type", "code93", "--data", "ab", "--out", out}, 1, "ribbon: ab : Code_93 bad data.\n"},
        {{"--type", "code39", "--data", "A", "--out", "/nonexistent/x.png"},
         1,
         "ribbon: Cannot create file \"/nonexistent/x.png\". No such file or directory\n"},
        {{"--type", "code39", "--data", "A", "--out", out, "--size", "70000x10"},
         1,
         "ribbon: A picture of 65536 x 10 pixels is out of range (each side at most 65535, at most "
         "67108864 pixels).\n"},
        {{"--type", "code39", "--data", "A", "--out", out, "--font-size", "4000"},
         2,
         "ribbon: option --font-size"},
        {{"--type", "code39", "--data", "A"}, 2, "ribbon: option --out is required"},
        {{"--type", "code39", "--data", "A", "--out", "/tmp/x.gif"},
         2,
         "ribbon: option --out: '/tmp/x.gif' does not end in"},
        {{"--type", "code39", "--data", "A", "--out", out, "--bar-color", "#12345"},
         2,
         "ribbon: option --bar-color: '#12345' is neither"},
        {{"--type", "code39", "--data", "A", "--out", out, "--background", "Mauve"},
         2,
         "ribbon: option --background: 'Mauve'"},
        {{"--type", "code39", "--data", "A", "--out", out, "--text", "all"},
         2,
         "ribbon: option --text: 'all' is not one of none|barcode|bartype|both"},
        {{"--type", "code39", "--data", "A", "--out", out, "--text-position", "middle"},
         2,
         "ribbon: option --text-position: 'middle'"},
        {{"--type", "code39", "--data", "A", "--out", out, "--size", "300"},
         2,
         "ribbon: option --size: '300' is not"},
        {{"--type", "code39", "--data", "A", "--out", out, "--size", "0x10"},
         2,
         "ribbon: option --size"},
        {{"--type", "code39", "--data", "A", "--out", out, "--modul", "0"},
         2,
         "ribbon: option --modul"},
        {{"--type", "code39", "--data", "A", "--out", out, "--height", "-5"},
         2,
         "ribbon: option --height"},
        {{"--type", "code39", "--data", "A", "--out", out, "--angle", "nan"},
         2,
         "ribbon: option --angle"},
        {{"--type", "code39", "--data", "A", "--out", out, "--font-size", "0"},
         2,
         "ribbon: option --font-size"},
        {{"--type", "code39", "--data", "A", "--out", out, "--jpeg-quality", "101"},
         2,
         "ribbon: option --jpeg-quality"},
        {{"--type", "code39", "--data", "A", "--out", out, "--bold=yes"},
         2,
         "ribbon: option --bold takes no value"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"render"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ToolResult r = RunTool(args);
        EXPECT_EQ(r.Status, c.status) << r.Err;
        EXPECT_EQ(r.Out, "");
        if (c.status == 1) {
            EXPECT_EQ(r.Err, c.err);
        } else {
            EXPECT_EQ(r.Err.rfind(c.err, 0), 0u) << r.Err;
        }
        EXPECT_FALSE(std::ifstream(out).good()) << c.err;
    }
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
