// ribbon control: the painted control as a picture, read back by real decoders.

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "framework/Panel.h"
#include "graphics/Bitmap.h"
#include "tests/Decoders.h"
#include "tests/TestDatabase.h"
#include "tests/cli/RunTool.h"

namespace ribbon::test {
namespace {

std::string TempFile(const std::string& name) {
    return testing::TempDir() + "ribbon-control-" + std::to_string(getpid()) + "-" + name;
}

// The extent of the pixels of one colour.
TRect Extent(const TBitmap& b, TColor color) {
    TRect r{b.Width(), b.Height(), -1, -1};
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const std::uint8_t* p = b.ScanLine(y) + x * 3;
            if (RGB(p[0], p[1], p[2]) != color) continue;
            r = {std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x),
                 std::max(r.Bottom, y)};
        }
    return r;
}

TEST(ControlCommand, FrameAndSymbolForEveryOrientationAndAlignment) {
    ASSERT_TRUE(HaveDecoders()) << "zbar-tools and zxing-cpp-tools are needed (scripts/setup.sh)";
    const std::string file = TempFile("symbol.png");
    constexpr int Size = 420, Edge = 2, Inset = 1 + 1 + 24;  // 3D edge, two bevels, border
    for (const char* orientation : {"left-right", "right-left", "top-bottom", "bottom-top"})
        for (const char* alignment : {"left", "right", "center"}) {
            const std::string name = std::string(orientation) + " " + alignment;
            const ToolResult r = RunTool({"control",
                                          "--out",
                                          file,
                                          "--type",
                                          "code128b",
                                          "--data",
                                          "Ribbon-42",
                                          "--modul",
                                          "2",
                                          "--width",
                                          std::to_string(Size),
                                          "--height",
                                          std::to_string(Size),
                                          "--orientation",
                                          orientation,
                                          "--alignment",
                                          alignment,
                                          "--border-style",
                                          "single",
                                          "--ctl3d",
                                          "--bevel-inner",
                                          "lowered",
                                          "--border-width",
                                          "24",
                                          "--color",
                                          "White",
                                          "--bar-color",
                                          "Navy"});
            ASSERT_EQ(r.Status, 0) << name << ": " << r.Err;
            EXPECT_NE(r.Out.find("\"width\": 420, \"height\": 420}"), std::string::npos) << r.Out;
            EXPECT_EQ(ZbarRead(file), "Ribbon-42") << name;
            EXPECT_EQ(ZxingRead(file), "Ribbon-42") << name;

            TBitmap picture;
            picture.LoadFromFile(file);
            ASSERT_EQ(picture.Width(), Size);
            EXPECT_EQ(picture.Canvas().Pixel(0, 0), clBtnShadow) << name;  // the sunken edge
            EXPECT_EQ(picture.Canvas().Pixel(Size - 1, Size - 1), clBtnHighlight) << name;
            const TRect bars = Extent(picture, clNavy);
            const bool vertical = name[0] == 't' || name[0] == 'b';
            const int start = vertical ? bars.Top : bars.Left;
            const int end = vertical ? bars.Bottom : bars.Right;
            // The space between the inset and the symbol, before and after it.
            const int before = start - Edge - Inset, after = Size - Edge - Inset - 1 - end;
            const char a = alignment[0];
            EXPECT_EQ(a == 'l' ? before : a == 'r' ? after : 0, 0) << name;
            // Centred to within a pixel: the turned symbols land one pixel further on.
            EXPECT_LE(a == 'c' ? std::abs(before - after) : 0, 2) << name;
            EXPECT_EQ(vertical ? bars.Left : bars.Top, Edge + Inset) << name;
        }
    std::remove(file.c_str());
}

TEST(ControlCommand, PaintsAControlOfAFormFile) {
    const std::string form = TempFile("form.dfm"), out = TempFile("form.png");
    std::ofstream(form) << "object BarCode1: TBarCode\n  BarCode = 'ONE'\nend\n"
                           "object BarCode2: TBarCode\n  Width = 200\n  BarType = bcCodeEAN13\n"
                           "  BarCode = '5901234123457'\nend\n";
    ToolResult r = RunTool({"control", "--form", form, "--name", "barcode2", "--out", out});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "{\"out\": \"" + out +
                         "\", \"left\": 52, \"top\": 1, \"barHeight\": 38, \"angle\": 0, "
                         "\"width\": 200, \"height\": 41}\n");

    std::ofstream(form) << "object BarCode1: TBarCode\n  BarCode = 'ONE'\n  Modul = two\nend\n";
    r = RunTool({"control", "--form", form, "--out", out});
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err, "ribbon: " + form + ", line 3: Modul: 'two' is not a valid value\n");
    std::remove(form.c_str());
    std::remove(out.c_str());
}

// A form as the designer saves it: a data source, a control bound to its second record, a
// data-aware control without a binding and a plain one; each paints as the control it is.
TEST(ControlCommand, PaintsTheControlsOfAFormWithItsTable) {
    ASSERT_TRUE(HaveDecoders()) << "zbar-tools and zxing-cpp-tools are needed (scripts/setup.sh)";
    TestDatabase db(
        "CREATE TABLE items(sku TEXT); INSERT INTO items VALUES ('4006381333931'), "
        "('9780201379624');");
    const std::string form = TempFile("bound.dfm"), out = TempFile("bound.png");
    const std::string controls =
        "object Bound: TDBBarcode\n  Width = 260\n  Height = 80\n  BarType = bcCodeEAN13\n"
        "  BarCode = '5901234123457'\n  Color = clWhite\n  BorderWidth = 12\n"
        "  DataField = 'sku'\n  DataSource = Stock\nend\n"
        "object Unbound: TDBBarcode\n  Width = 260\n  BarCode = 'UNBOUND'\n"
        "  Color = clWhite\n  BorderWidth = 12\n  DataField = 'sku'\nend\n"
        "object Plain: TBarCode\n  Width = 260\n  BarCode = 'PLAIN'\n  Color = clWhite\n"
        "  BorderWidth = 12\nend\n";
    const std::string source = "object Stock: TTableSource\n  DatabaseName = '" + db.Path() +
                               "'\n  TableName = 'items'\n  RecNo = 2\nend\n";
    std::ofstream(form) << source << controls;
    const struct {
        std::vector<std::string> Name;
        std::string Read;
    } cases[] = {{{}, "9780201379624"},  // the first, at the record the file names
                 {{"--name", "unbound"}, "UNBOUND"},
                 {{"--name", "Plain"}, "PLAIN"}};
    for (const auto& k : cases) {
        std::vector<std::string> args = {"control", "--form", form, "--out", out};
        args.insert(args.end(), k.Name.begin(), k.Name.end());
        const ToolResult r = RunTool(args);
        ASSERT_EQ(r.Status, 0) << r.Err;
        EXPECT_EQ(ZbarRead(out), k.Read);
        EXPECT_EQ(ZxingRead(out), k.Read);
    }

    // A data source that cannot be opened names its line; nothing is painted.
    std::remove(out.c_str());
    std::ofstream(form) << "object Stock: TTableSource\n  DatabaseName = 'nowhere.db'\n"
                           "  TableName = 'items'\nend\n"
                        << controls;
    const ToolResult r = RunTool({"control", "--form", form, "--out", out});
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err, "ribbon: " + form + ", line 1: " + testing::TempDir() +
                         "nowhere.db: unable to open database file\n");
    EXPECT_FALSE(std::ifstream(out));
    std::remove(form.c_str());
}

TEST(ControlCommand, Mistakes) {
    const std::string out = TempFile("bad.png");
    const struct {
        std::vector<std::string> Args;
        int Status;
        std::string Err;
    } cases[] = {
        {{"--type", "i25", "--data", "12A4"}, 1, "ribbon: 12A4: Barcode must be numeric.\n"},
        {{"--type", "code39", "--data", "A", "--modul", "50"},
         2,
         "option --modul: 50 is outside 1..49"},
        {{"--type", "code39"}, 2, "give --form, or --type with --data or --data-hex"},
        {{"--type", "code39", "--data", "A", "--orientation", "up"},
         2,
         "option --orientation: 'up' is not one of left-right|right-left|top-bottom|bottom-top"},
        {{"--list-properties"}, 2, "option --list-properties takes no other options"},
    };
    for (const auto& k : cases) {
        std::vector<std::string> args = {"control", "--out", out};
        args.insert(args.end(), k.Args.begin(), k.Args.end());
        const ToolResult r = RunTool(args);
        EXPECT_EQ(r.Status, k.Status) << k.Err;
        EXPECT_NE(r.Err.find(k.Err), std::string::npos) << r.Err;
        EXPECT_TRUE(r.Out.empty());
    }
    std::remove(out.c_str());
}

}  // namespace
}  // namespace ribbon::test
