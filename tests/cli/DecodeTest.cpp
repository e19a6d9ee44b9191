// Rendered files read back by two independent decoders, zbar's zbarimg and ZXing-C++'s
// ZXingReader, at the four right angles, with and without the text.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

#include "tests/Decoders.h"
#include "tests/cli/RunTool.h"
#include "tests/engine/SymbolSamples.h"

namespace ribbon::test {
namespace {

// zbar reports UPC-A and UPC-E as such only when asked, and Codabar with its start and stop.
std::string Zbar(const std::string& file, TBarType type) {
    std::string text = ZbarRead(file, "-Supca.enable -Supce.enable");
    if (type == bcCodeCodabar && text.size() >= 2) text = text.substr(1, text.size() - 2);
    return text;
}

class DecodersRead : public testing::TestWithParam<SymbolSample> {};

TEST_P(DecodersRead, TheRenderedSymbolAtEveryRightAngle) {
    const SymbolSample& s = GetParam();
    ASSERT_TRUE(HaveDecoders()) << "zbar-tools and zxing-cpp-tools are needed (scripts/setup.sh)";
    const std::string file =
        "/tmp/ribbon-decode-" + std::to_string(getpid()) + "-" + s.Name + ".png";
    for (const char* angle : {"0", "90", "180", "270"}) {
        // The text sits over the bottom of the bars; the decoders scan through the middle.
        for (const char* text : {"none", "both"}) {
            const ToolResult r =
                RunTool({"render", "--type", s.Name, "--data", s.Data, "--modul", "2", "--height",
                         "60", "--angle", angle, "--text", text, "--out", file});
            ASSERT_EQ(r.Status, 0) << r.Err;
            if (s.ZbarReads) {
                EXPECT_EQ(Zbar(file, s.Type), s.Decoded)
                    << "zbar, " << angle << " degrees, text " << text;
            }
            EXPECT_EQ(ZxingRead(file), s.Decoded)
                << "ZXing, " << angle << " degrees, text " << text;
        }
    }
    std::remove(file.c_str());
}

// Symbols whose encoding follows the symbology standards where the plain rules once did not:
// UPC-E check digits over the number written as UPC-A, Code 128 control characters and DEL,
// Interleaved 2 of 5 with an odd digit count.
TEST(DecodersRead, TheStandardsEncodings) {
    struct Case {
        TBarType Type;
        const char* Name;
        const char* Hex;  // the data
        bool CheckSum;
        std::string Decoded;
        bool ZbarReads;
    };
    const Case cases[] = {
        {bcCodeUPC_E0, "upce0", "32393033353330", true, "02903533", true},   // 2903530
        {bcCodeUPC_E0, "upce0", "34323532363130", true, "04252614", true},   // 4252610
        {bcCodeUPC_E1, "upce1", "31323334353630", true, "11234562", false},  // 1234560
        {bcCode128A, "code128a", "4109421f43", false,
         "A\tB\x1f"
         "C",
         true},
        {bcCode128B, "code128b", "617f62", false,
         "a\x7f"
         "b",
         true},
        {bcCode_2_5_interleaved, "i25", "3132333435", false, "012345", true},
    };
    const std::string file = "/tmp/ribbon-decode-" + std::to_string(getpid()) + "-mended.png";
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Name) + " " + c.Hex);
        std::vector<std::string> args = {"render",  "--type", c.Name,  "--data-hex", c.Hex,
                                         "--modul", "2",      "--out", file};
        if (c.CheckSum) args.push_back("--checksum");
        const ToolResult r = RunTool(args);
        ASSERT_EQ(r.Status, 0) << r.Err;
        if (c.ZbarReads) {
            EXPECT_EQ(Zbar(file, c.Type), c.Decoded);
        }
        EXPECT_EQ(ZxingRead(file), c.Decoded);
    }
    std::remove(file.c_str());
}

std::vector<SymbolSample> Decodable() {
    std::vector<SymbolSample> out;
    for (const SymbolSample& s : SymbolSamples)
        if (!s.Decoded.empty()) out.push_back(s);
    return out;
}

INSTANTIATE_TEST_SUITE_P(Symbologies, DecodersRead, testing::ValuesIn(Decodable()),
                         [](const testing::TestParamInfo<SymbolSample>& info) {
                             return std::string(info.param.Name);
                         });

}  // namespace
}  // namespace ribbon::test
