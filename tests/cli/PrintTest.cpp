// ribbon print, measure --units and vector render, read back by independent tools: poppler for
// the PDF, librsvg for the SVG, zbar and ZXing for the symbols.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "tests/Decoders.h"
#include "tests/PdfTools.h"
#include "tests/cli/RunTool.h"

namespace ribbon::test {
namespace {

std::string Temp(const std::string& tag) {
    return "/tmp/ribbon-print-cli-" + std::to_string(getpid()) + "-" + tag;
}

const std::vector<std::string> Ean13 = {"--type", "ean13", "--data", "590123412345", "--checksum"};

ToolResult Print(std::vector<std::string> args, const std::string& out) {
    args.insert(args.begin(), "print");
    args.insert(args.end(), {"--out", out});
    return RunTool(args);
}

TEST(PrintTool, DecodersReadThePrintedPageAtEveryAngle) {
    if (!HaveTool("pdftoppm", "poppler-utils") || !HaveTool("zbarimg", "zbar-tools") ||
        !HaveTool("ZXingReader", "zxing-cpp-tools"))
        return;
    const std::string pdf = Temp("angle.pdf"), png = Temp("angle.png");
    for (const char* angle : {"0", "90", "180", "270", "30"}) {
        std::vector<std::string> args = Ean13;
        args.insert(args.end(), {"--units", "mm", "--modul", "0.33", "--left", "10", "--top", "10",
                                 "--height", "25", "--text", "barcode", "--angle", angle, "--dpi",
                                 "300", "--paper", "80x80mm"});
        const ToolResult r = Print(args, pdf);
        ASSERT_EQ(r.Status, 0) << r.Err;
        RasterisePdf(pdf, 300, 300).SaveToFile(png);
        // Tall enough that a row of ZXing's scan crosses the whole symbol turned by 30 degrees.
        EXPECT_EQ(ZbarRead(png), "5901234123457") << angle;
        // Without -noscale ZXing 1.4 trips over its own assertion on large pages.
        EXPECT_EQ(ZxingRead(png, "-noscale"), "5901234123457") << angle;
    }
    std::remove(pdf.c_str());
    std::remove(png.c_str());
}

TEST(PrintTool, WritesVectorPagesOfThePaperWithRealTextOneSymbolAPage) {
    if (!HaveTool("pdfinfo", "poppler-utils")) return;
    const std::string pdf = Temp("pages.pdf"), data = Temp("data.txt");
    std::ofstream(data) << "12345670\r\n\n96385074\n";
    const std::vector<std::string> common = {
        "--type", "ean8", "--units",  "inch", "--modul", "0.01",    "--left", "0.5",
        "--top",  "0.5",  "--height", "0.6",  "--text",  "barcode", "--font", "Courier"};
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--data", "55123457", "--data-file", data, "--paper", "letter"}, "612 x 792 pts"},
        {{"--data-file", data, "--paper", "100x50mm", "--dpi", "300x600"}, "283.465 x 141.732 pts"},
    };
    for (const auto& [extra, size] : cases) {
        std::vector<std::string> args = common;
        args.insert(args.end(), extra.begin(), extra.end());
        const ToolResult r = Print(args, pdf);
        ASSERT_EQ(r.Status, 0) << r.Err;
        const std::string info = PdfToolOutput("pdfinfo", pdf);
        const int pages = extra[0] == "--data" ? 3 : 2;
        EXPECT_NE(info.find("Pages:           " + std::to_string(pages)), std::string::npos)
            << info;
        EXPECT_NE(info.find("Page size:       " + size), std::string::npos) << info;
        // pdfimages lists a header of two lines and then one line per image.
        EXPECT_EQ(PdfToolOutput("pdfimages -list", pdf, "| tail -n +3"), "");
        EXPECT_NE(PdfToolOutput("pdffonts", pdf).find("LiberationMono"), std::string::npos);
        const std::string text = PdfToolOutput("pdftotext", pdf, "-");
        for (const char* expected : {"12345670", "96385074"})
            EXPECT_NE(text.find(expected), std::string::npos) << text;
    }
    std::remove(pdf.c_str());
    std::remove(data.c_str());
}

TEST(PrintTool, RefusedDataAndUnwritableFilesLeaveNoFile) {
    const std::string pdf = Temp("refused.pdf");
    const std::vector<std::string> placement = {"--units", "mm",    "--modul", "0.33",     "--left",
                                                "10",      "--top", "10",      "--height", "20"};
    std::vector<std::string> refused = {"--type",        "ean13",  "--data",
                                        "5901234123457", "--data", "12AB"};
    refused.insert(refused.end(), placement.begin(), placement.end());
    ToolResult r = Print(refused, pdf);
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err, "ribbon: 12AB : Barcode must be numeric.\n");
    EXPECT_FALSE(std::filesystem::exists(pdf));

    std::vector<std::string> good = Ean13;
    good.insert(good.end(), placement.begin(), placement.end());
    r = Print(good, "/nonexistent-dir/x.pdf");
    EXPECT_EQ(r.Status, 1);
    EXPECT_NE(r.Err.find("Cannot create the file \"/nonexistent-dir/x.pdf\""), std::string::npos)
        << r.Err;
    r = Print(good, Temp("x.png"));
    EXPECT_EQ(r.Status, 2) << r.Err;
}

struct PrintCase {
    std::vector<std::string> args;
    int status;
    std::string err;       // all of stderr
    std::string out = "";  // found in stdout
};

// Runs each case into one file name and checks the exit status and stderr; a refusal leaves
// no file, a success its PDF.
void ExpectPrints(const std::vector<PrintCase>& cases, const std::string& pdf) {
    for (const PrintCase& c : cases) {
        std::remove(pdf.c_str());
        const ToolResult r = Print(c.args, pdf);
        std::string label;
        for (const std::string& a : c.args) label += a + " ";
        EXPECT_EQ(r.Status, c.status) << label << r.Err;
        EXPECT_EQ(r.Err, c.err) << label;
        EXPECT_EQ(std::filesystem::exists(pdf), c.status == 0) << label;
        EXPECT_EQ(r.Out.empty(), c.status != 0) << label;
        EXPECT_NE(r.Out.find(c.out), std::string::npos) << label << r.Out;
    }
    std::remove(pdf.c_str());
}

std::vector<std::string> Ean13At(std::vector<std::string> placement) {
    std::vector<std::string> args = Ean13;
    args.insert(args.end(), {"--units", "mm", "--modul", "0.33", "--left", "10", "--top", "10",
                             "--height", "20"});
    // Later options take the place of earlier ones.
    args.insert(args.end(), placement.begin(), placement.end());
    return args;
}

TEST(PrintTool, RefusesSizesAndSymbolsThatCannotBePrinted) {
    const std::string usage = "(see 'ribbon print --help')\n";
    const std::vector<PrintCase> cases = {
        {Ean13At({"--modul", "-0.33"}), 2,
         "ribbon: option --modul: -0.33 mm is not a length above 0\n" + usage},
        {Ean13At({"--modul", "0"}), 2,
         "ribbon: option --modul: 0 mm is not a length above 0\n" + usage},
        {Ean13At({"--height", "-5"}), 2,
         "ribbon: option --height: -5 mm is not a length above 0\n" + usage},
        {Ean13At({"--modul", "0.01"}), 2,
         "ribbon: option --modul: 0.01 mm is less than one printer dot at 600 dpi\n" + usage},
        {Ean13At({"--paper", "20x20mm"}), 2,
         "ribbon: the symbol ends 22.2 mm beyond the right edge and 10.0 mm beyond the bottom edge "
         "of the 20 x 20 mm paper\n" +
             usage},
        {Ean13At({"--left", "300"}), 2,
         "ribbon: the symbol ends 122.2 mm beyond the right edge of the 210 x 297 mm paper\n" +
             usage},
        {Ean13At({"--modul", "5"}), 2,
         "ribbon: the symbol ends 274.5 mm beyond the right edge of the 210 x 297 mm paper\n" +
             usage},
        {Ean13At({"--left", "-3", "--top", "-2"}), 2,
         "ribbon: the symbol starts 3.0 mm beyond the left edge and 2.0 mm beyond the top edge of "
         "the 210 x 297 mm paper\n" +
             usage},
        // Upright the symbol would fit: turned, it is 32 mm tall.
        {Ean13At({"--top", "270", "--angle", "90"}), 2,
         "ribbon: the symbol ends 5.2 mm beyond the bottom edge of the 210 x 297 mm paper\n" +
             usage},
        {Ean13At({"--units", "inch", "--modul", "0.013", "--left", "8", "--top", "1", "--height",
                  "1", "--paper", "letter"}),
         2,
         "ribbon: the symbol ends 0.77 in beyond the right edge of the 8.5 x 11 in paper\n" +
             usage},
        // Every page is checked before the first is printed.
        {{"--type", "code39", "--data", "A", "--data", "ABCDEFGHIJKLMNOPQRST", "--units", "mm",
          "--modul", "0.5", "--left", "100", "--top", "10", "--height", "20"},
         2,
         "ribbon: page 2: the symbol ends 34.8 mm beyond the right edge of the 210 x 297 mm "
         "paper\n" +
             usage},
        // At the edges: the last printer dots of the page, and a fifth of a millimetre beyond.
        {Ean13At({"--left", "177", "--top", "277"}), 0, ""},
        {Ean13At({"--left", "178", "--top", "277"}), 2,
         "ribbon: the symbol ends 0.2 mm beyond the right edge of the 210 x 297 mm paper\n" +
             usage},
    };
    ExpectPrints(cases, Temp("refused.pdf"));
}

TEST(PrintTool, WarnsWhenThePrintedModuleIsOutsideTheStandardsRange) {
    const std::string pdf = Temp("module.pdf");
    const auto warning = [](const std::string& text) { return "ribbon: warning: " + text + "\n"; };
    const std::vector<PrintCase> cases = {
        {Ean13At({"--modul", "0.2"}), 0,
         warning("the module 0.2 mm is printed as 5 dots = 0.212 mm at 600 dpi, outside "
                 "0.264..0.660 mm for EAN-13")},
        // Inside the range as given, outside it once rounded to the printer's dots (both ends).
        {Ean13At({"--modul", "0.264", "--dpi", "300"}), 0,
         warning("the module 0.264 mm is printed as 3 dots = 0.254 mm at 300 dpi, outside "
                 "0.264..0.660 mm for EAN-13")},
        {Ean13At({"--modul", "0.66"}), 0,
         warning("the module 0.66 mm is printed as 16 dots = 0.677 mm at 600 dpi, outside "
                 "0.264..0.660 mm for EAN-13")},
        {{"--type", "upce0", "--data", "1234565", "--checksum", "--units", "inch", "--modul",
          "0.03", "--left", "1", "--top", "1", "--height", "1"},
         0,
         warning("the module 0.03 in is printed as 18 dots = 0.762 mm at 600 dpi, outside "
                 "0.264..0.660 mm for UPC-E0")},
        // Turned upright on dots twice as tall as wide, the module is half as long.
        {Ean13At({"--dpi", "300x600", "--angle", "90"}), 0,
         warning("the module 0.33 mm is printed as 4 dots = 0.169 mm at 300x600 dpi, outside "
                 "0.264..0.660 mm for EAN-13")},
        {{"--type", "code128b", "--data", "x", "--units", "mm", "--modul", "0.1", "--left", "10",
          "--top", "10", "--height", "5"},
         0,
         ""},
    };
    ExpectPrints(cases, pdf);
}

TEST(PrintTool, DataFilesSkipBlankLinesAndNameTheLineOfARefusal) {
    const std::string data = Temp("lines.txt");
    const std::string usage = "(see 'ribbon print --help')\n";
    const std::pair<std::string, PrintCase> cases[] = {
        {"12\n\n \t \r\n3456\r\n", {{}, 0, "", "\"pages\": 2,"}},
        {"12\n   \n12AB\n", {{}, 1, "ribbon: " + data + ":3: 12AB : Barcode must be numeric.\n"}},
        {"", {{}, 1, "ribbon: no data in " + data + "\n"}},
        {" \n\t\r\n", {{}, 1, "ribbon: no data in " + data + "\n"}},
        {"12\n\n" + std::string(40, '7') + "\n",
         {{},
          2,
          "ribbon: " + data +
              ":3: the symbol ends 36.3 mm beyond the right edge of the "
              "210 x 297 mm paper\n" +
              usage}},
    };
    for (const auto& [lines, c] : cases) {
        std::ofstream(data, std::ios::binary) << lines;
        PrintCase run = c;
        run.args = {"--type", "i25",    "--data-file", data,    "--units", "mm",       "--modul",
                    "0.5",    "--left", "100",         "--top", "10",      "--height", "20"};
        ExpectPrints({run}, Temp("lines.pdf"));
    }
    std::remove(data.c_str());
}

TEST(PrintTool, MeasuresInWholeUnits) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        // 95 modules of 12 pixels at 600 dpi: 1140 pixels, 48.26 mm.
        {{"--units", "mm", "--modul", "0.5", "--height", "20"},
         "{\"width\": 48.0, \"canvasWidth\": 20.0, \"canvasHeight\": 48.0}\n"},
        {{"--units", "inch", "--modul", "0.01", "--height", "1", "--dpi", "300"},
         "{\"width\": 1.0, \"canvasWidth\": 1.0, \"canvasHeight\": 1.0}\n"},
        {{"--units", "2", "--modul", "1"},
         "{\"width\": -1.0, \"canvasWidth\": -1.0, \"canvasHeight\": -1.0}\n"},
    };
    for (const auto& [extra, json] : cases) {
        std::vector<std::string> args = {"measure"};
        args.insert(args.end(), Ean13.begin(), Ean13.end());
        args.insert(args.end(), extra.begin(), extra.end());
        const ToolResult r = RunTool(args);
        EXPECT_EQ(r.Status, 0) << r.Err;
        EXPECT_EQ(r.Out, json) << extra[1];
    }
}

TEST(RenderTool, SvgAndPdfAt96DpiMatchThePngPixelForPixel) {
    if (!HaveTool("pdftoppm", "poppler-utils") || !HaveTool("rsvg-convert", "librsvg2-bin")) return;
    const std::string base = Temp("vector");
    const std::vector<std::vector<std::string>> cases = {
        {"--angle", "0"},
        {"--angle", "90"},
        {"--angle", "180"},
        {"--angle", "270"},
        // Bars reaching far beyond the picture are cut, not wrapped around.
        {"--top", "-1000000000", "--height", "1000000050", "--size", "100x100"},
    };
    for (const std::vector<std::string>& extra : cases) {
        const std::string label = extra[0] + " " + extra[1];
        std::vector<std::string> args = {
            "render",   "--type", "code128b",    "--data", "Ribbon 9",     "--modul", "2",
            "--height", "40",     "--bar-color", "Navy",   "--background", "Silver"};
        args.insert(args.end(), extra.begin(), extra.end());
        for (const char* ext : {".png", ".svg", ".pdf"}) {
            std::vector<std::string> a = args;
            a.insert(a.end(), {"--out", base + ext});
            const ToolResult r = RunTool(a);
            ASSERT_EQ(r.Status, 0) << r.Err;
        }
        CaptureOutput("rsvg-convert " + ShellQuote(base + ".svg") + " -o " +
                      ShellQuote(base + "-svg.png"));
        TBitmap png, svg;
        png.LoadFromFile(base + ".png");
        svg.LoadFromFile(base + "-svg.png");
        TBitmap pdf = RasterisePdf(base + ".pdf", 96, 96);
        for (TBitmap* vector : {&svg, &pdf}) {
            ASSERT_EQ(vector->Width(), png.Width());
            ASSERT_EQ(vector->Height(), png.Height());
            int differing = 0;
            for (int y = 0; y < png.Height(); ++y)
                for (int x = 0; x < png.Width(); ++x)
                    differing += vector->Canvas().Pixel(x, y) != png.Canvas().Pixel(x, y);
            EXPECT_EQ(differing, 0) << label << (vector == &svg ? " svg" : " pdf");
        }
    }
    for (const char* ext : {".png", ".svg", ".pdf", "-svg.png"}) std::remove((base + ext).c_str());
}

}  // namespace
}  // namespace ribbon::test
