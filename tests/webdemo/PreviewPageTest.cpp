// The preview page end to end inside the process: the form as the browser gets it, and "View"
// producing a picture that a real decoder reads back.

#include <gtest/gtest.h>
#include <jpeglib.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "runtime/Bitmap.h"
#include "tests/web/PageClient.h"
#include "web/Dispatcher.h"
#include "web/Escape.h"
#include "webdemo/IWUnit1.h"
#include "webdemo/ServerController.h"

namespace ribbon::webdemo {
namespace {

using testing::AlertOf;
using testing::FakeClock;
using testing::PageClient;
using testing::TempDir;
namespace fs = std::filesystem;

struct Picture {
    int Width = 0, Height = 0;
    std::vector<unsigned char> Rgb;
    int Gray(int x, int y) const {
        const unsigned char* p = &Rgb[(static_cast<std::size_t>(y) * Width + x) * 3];
        return (p[0] + p[1] + p[2]) / 3;
    }
    // The first column from x on, in row y, darker than mid-grey; -1 if none.
    int FirstDark(int y, int x = 1) const {
        for (; x < Width - 1; ++x)
            if (Gray(x, y) < 128) return x;
        return -1;
    }
};

Picture DecodeJpeg(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string data{std::istreambuf_iterator<char>(in), {}};
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.data()), data.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    Picture picture{static_cast<int>(info.output_width), static_cast<int>(info.output_height), {}};
    picture.Rgb.resize(static_cast<std::size_t>(picture.Width) * picture.Height * 3);
    while (info.output_scanline < info.output_height) {
        unsigned char* row =
            &picture.Rgb[static_cast<std::size_t>(info.output_scanline) * picture.Width * 3];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return picture;
}

// What zbarimg reads from the file ("" when it finds no barcode). A reader that is missing or
// fails makes the test fail: no reading is ever skipped in silence.
std::string ZbarRead(const fs::path& path) {
#ifdef RIBBON_ZBARIMG
    const std::string command = std::string(RIBBON_ZBARIMG) + " -q --raw '" + path.string() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "cannot start " << command;
        return "<zbarimg did not run>";
    }
    std::string out;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
    const int status = pclose(pipe);
    // zbarimg exits 4 when it finds no barcode.
    if (status == -1 || !WIFEXITED(status) ||
        (WEXITSTATUS(status) != 0 && WEXITSTATUS(status) != 4)) {
        ADD_FAILURE() << command << " failed (status " << status << ")";
        return "<zbarimg did not run>";
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
#else
    ADD_FAILURE() << "zbarimg was not found when the build was configured (zbar-tools; "
                     "scripts/setup.sh installs it)";
    return "<zbarimg missing> " + path.string();
#endif
}

class PreviewPageTest : public ::testing::Test {
  protected:
    PreviewPageTest()
        : clock(std::make_shared<FakeClock>()),
          controller(dir.ModuleDir(), clock),
          app(controller),
          browser(app) {}

    // The cached picture the page shows, or an empty path.
    fs::path PictureOf(const web::Response& page) const {
        const std::string head = "src=\"/ribbon/cache/";
        const auto at = page.Body.find(head);
        if (at == std::string::npos) return {};
        const auto end = page.Body.find('"', at + head.size());
        return dir.Path() / "Cache" / page.Body.substr(at + head.size(), end - at - head.size());
    }
    std::size_t CachedFiles() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir.Path() / "Cache"), fs::directory_iterator()));
    }
    web::Response View(const std::string& fields) {
        return browser.Post("IW_Action=IWButton1&IW_ActionParam=&" + fields);
    }

    TempDir dir;
    std::shared_ptr<FakeClock> clock;
    TIWServerController controller;
    web::TIWDispatcher app;
    PageClient browser;
};

TEST_F(PreviewPageTest, EveryControlSitsAtItsPlace) {
    const struct {
        const char* name;
        int left, top, width, height, tabOrder;
    } controls[] = {
        {"IWButton1", 264, 536, 61, 21, 23},      {"edtBarcode", 108, 220, 150, 21, 0},
        {"IWLabel1", 44, 222, 50, 16, -1},        {"IWLabel2", 43, 250, 51, 16, -1},
        {"IWLabel3", 57, 278, 37, 16, -1},        {"IWLabel4", 63, 306, 31, 16, -1},
        {"chkCheckSum", 108, 332, 121, 21, 4},    {"IWLabel5", 71, 358, 23, 16, -1},
        {"edtLeft", 108, 356, 150, 21, 5},        {"IWLabel6", 70, 386, 24, 16, -1},
        {"edtTop", 108, 384, 150, 21, 6},         {"IWLabel7", 55, 414, 39, 16, -1},
        {"edtHeight", 108, 412, 150, 21, 7},      {"IWLabel8", 59, 442, 35, 16, -1},
        {"edtAngle", 108, 440, 150, 21, 8},       {"cmbBarType", 108, 248, 150, 21, 1},
        {"cmbModul", 108, 276, 150, 21, 2},       {"cmbRatio", 108, 304, 150, 21, 3},
        {"cmbBackColor", 392, 464, 121, 21, 21},  {"cmbBarColor", 108, 468, 150, 21, 9},
        {"cmbSpaceColor", 108, 496, 150, 21, 10}, {"cmbTextColor", 392, 324, 121, 21, 17},
        {"labBackColor", 312, 466, 61, 16, -1},   {"labBarColor", 41, 470, 53, 16, -1},
        {"IWLabel9", 23, 498, 71, 16, -1},        {"TextSize", 316, 218, 53, 16, -1},
        {"cmbTextSize", 392, 216, 121, 21, 11},   {"IWLabel10", 314, 246, 55, 16, -1},
        {"cmbTextFont", 392, 244, 121, 21, 12},   {"IWLabel11", 309, 326, 60, 16, -1},
        {"IWLabel12", 280, 354, 89, 16, -1},      {"cmbTextBackColor", 392, 352, 121, 21, 18},
        {"IWLabel13", 302, 494, 0, 0, -1},        {"cmbTextPost", 392, 408, 121, 21, 20},
        {"IWLabel14", 294, 410, 75, 16, -1},      {"IWLabel15", 307, 382, 62, 16, -1},
        {"cmbTextShow", 392, 380, 121, 21, 19},   {"chkBold", 392, 272, 81, 21, 13},
        {"chkItalic", 480, 272, 65, 21, 14},      {"chkUnderline", 392, 296, 81, 21, 15},
        {"chkStrikeOut", 480, 296, 93, 21, 16},   {"chkBitmap", 392, 496, 121, 21, 22},
    };
    const std::string page = browser.Open().Body;
    EXPECT_NE(page.find("width:576px;height:562px;"), std::string::npos);
    for (const auto& c : controls) {
        const auto at = page.find(std::string("id=\"") + c.name + "\"");
        ASSERT_NE(at, std::string::npos) << c.name;
        // Each control is written on one line of its own.
        const auto lineStart = page.rfind('\n', at) + 1;
        const std::string line = page.substr(lineStart, page.find('\n', at) - lineStart);
        EXPECT_NE(line.find(web::HtmlEscape(c.name) + "\""), std::string::npos);
        const std::string place =
            "position:absolute;left:" + std::to_string(c.left) + "px;top:" + std::to_string(c.top) +
            "px;width:" + std::to_string(c.width) + "px;height:" + std::to_string(c.height) + "px;";
        EXPECT_NE(line.find(place), std::string::npos) << c.name << ": " << line;
        if (c.tabOrder >= 0) {
            EXPECT_NE(line.find("tabindex=\"" + std::to_string(c.tabOrder + 1) + "\""),
                      std::string::npos)
                << c.name;
        }
    }
    EXPECT_NE(
        page.find("<input type=\"button\" name=\"IWButton1\" id=\"IWButton1\" value=\"View\""),
        std::string::npos);
    // No picture until the first "View".
    EXPECT_EQ(page.find("<img"), std::string::npos);
}

TEST(TformMain, StartsWithTheFormsInitialState) {
    TformMain form("/nowhere/");
    const struct {
        web::TIWComboBox* list;
        std::size_t items;
        int index;
        const char* selected;
    } lists[] = {
        {form.cmbBarType, 23, 3, "Code39"},
        {form.cmbModul, 9, 0, "1"},
        {form.cmbRatio, 5, 1, "2"},
        {form.cmbBackColor, 18, 17, "White"},
        {form.cmbBarColor, 18, 0, "Black"},
        {form.cmbSpaceColor, 18, 17, "White"},
        {form.cmbTextColor, 18, 0, "Black"},
        {form.cmbTextSize, 8, 0, "7"},
        {form.cmbTextBackColor, 18, 17, "White"},
        {form.cmbTextPost, 6, 5, "BottomCenter"},
        {form.cmbTextShow, 4, 1, "BarCode"},
    };
    for (const auto& l : lists) {
        EXPECT_EQ(l.list->Items.size(), l.items) << l.list->Name;
        ASSERT_EQ(l.list->ItemIndex, l.index) << l.list->Name;
        EXPECT_EQ(l.list->Items[l.index], l.selected) << l.list->Name;
    }
    EXPECT_EQ(form.cmbTextFont->ItemIndex, -1);
    EXPECT_EQ(ColorTable[9].Value, 0x0000FFu);   // Red in the low byte
    EXPECT_EQ(ColorTable[12].Value, 0xFF0000u);  // Blue in the third
    EXPECT_TRUE(form.chkBitmap->Checked);
    for (auto* box :
         {form.chkCheckSum, form.chkBold, form.chkItalic, form.chkUnderline, form.chkStrikeOut})
        EXPECT_FALSE(box->Checked) << box->Name;
    EXPECT_EQ(form.edtLeft->Text, "20");
    EXPECT_EQ(form.edtTop->Text, "20");
    EXPECT_EQ(form.edtHeight->Text, "50");
    EXPECT_EQ(form.edtAngle->Text, "0");
    EXPECT_EQ(form.edtBarcode->Text, "");
}

TEST_F(PreviewPageTest, ViewDrawsABarcodeThatReadsBack) {
    browser.Open();
    const web::Response page = View("edtBarcode=CODE39&chkBitmap=Off");
    EXPECT_EQ(AlertOf(page.Body), "");
    EXPECT_NE(page.Body.find("border=\"0\" width=\"500\" height=\"200\""), std::string::npos);
    const fs::path file = PictureOf(page);
    ASSERT_FALSE(file.empty());
    EXPECT_TRUE(file.filename().string().starts_with("JPG"));
    EXPECT_EQ(file.extension(), ".tmp");
    const Picture picture = DecodeJpeg(file);
    ASSERT_EQ(picture.Width, 500);
    ASSERT_EQ(picture.Height, 200);
    EXPECT_LT(picture.Gray(0, 100), 128);  // the one-pixel frame
    EXPECT_GT(picture.Gray(2, 100), 200);  // white background inside it
    EXPECT_EQ(picture.FirstDark(45), 20);  // the symbol starts at Left = 20
    EXPECT_EQ(picture.FirstDark(15), -1);  // and below Top = 20
    EXPECT_EQ(ZbarRead(file), "CODE39");

    const web::Response served =
        app.handle(testing::MakeRequest("GET", "/cache/" + file.filename().string()));
    EXPECT_EQ(served.FilePath, file.string());
}

TEST_F(PreviewPageTest, FieldsAreReadAsTheHandlerDefines) {
    browser.Open();
    const struct {
        std::string fields;
        int firstDark;  // in row 45
        const char* data;
    } cases[] = {
        {"edtBarcode=++123++&chkBitmap=Off", 20, "123"},  // blanks around the data go
        {"edtBarcode=123&edtLeft=abc&edtTop=x&chkBitmap=Off", 10, "123"},  // default 10, 10
        {"edtBarcode=123&edtLeft=60&cmbModul=1&cmbRatio=3&chkBitmap=Off", 60, "123"},
    };
    for (const auto& c : cases) {
        const web::Response page = View(c.fields);
        EXPECT_EQ(AlertOf(page.Body), "") << c.fields;
        const fs::path file = PictureOf(page);
        ASSERT_FALSE(file.empty()) << c.fields;
        EXPECT_EQ(DecodeJpeg(file).FirstDark(45), c.firstDark) << c.fields;
        EXPECT_EQ(ZbarRead(file), c.data) << c.fields;
    }
}

TEST_F(PreviewPageTest, ChosenSymbologyIsWhatTheDecoderReads) {
    browser.Open();
    const struct {
        int barType;
        std::string data, read;
    } cases[] = {
        {6, "Hello-123", "Hello-123"},  // Code128B
        {8, "CODE93", "CODE93"},        // Code93
        {0, "12345670", "12345670"},    // 2 of 5 interleaved
    };
    for (const auto& c : cases) {
        const web::Response page =
            View("chkBitmap=Off&cmbModul=1&cmbBarType=" + std::to_string(c.barType) +
                 "&edtBarcode=" + c.data);
        ASSERT_EQ(AlertOf(page.Body), "") << c.data;
        EXPECT_EQ(ZbarRead(PictureOf(page)), c.read) << c.barType;
    }
}

TEST_F(PreviewPageTest, BackgroundBitmapReplacesThePicture) {
    {
        TBitmap back(300, 100);
        back.Canvas().Brush.SetColor(clYellow);
        back.Canvas().FillRect({0, 0, 300, 100});
        back.SaveToFile(dir.ModuleDir() + "Back.bmp");
    }
    browser.Open();
    const web::Response page = View("edtBarcode=AB&chkBitmap=On");
    EXPECT_EQ(AlertOf(page.Body), "");
    EXPECT_NE(page.Body.find("width=\"500\" height=\"200\""), std::string::npos);
    const Picture picture = DecodeJpeg(PictureOf(page));
    EXPECT_EQ(picture.Width, 300);
    EXPECT_EQ(picture.Height, 100);
    EXPECT_EQ(picture.FirstDark(45, 0), 20);  // no frame: the file's content is the background
}

TEST_F(PreviewPageTest, MissingBackgroundBitmapIsAnAlertAndNoPicture) {
    browser.Open();
    const web::Response page = View("edtBarcode=AB");  // BackBitmap is checked at start
    EXPECT_NE(AlertOf(page.Body).find("Back.bmp"), std::string::npos) << AlertOf(page.Body);
    EXPECT_EQ(page.Body.find("<img"), std::string::npos);
    EXPECT_EQ(CachedFiles(), 0u);
}

TEST_F(PreviewPageTest, RefusedDataShowsTheEngineMessageOverThePlainBackground) {
    browser.Open();
    const std::string data = "</script><script>alert(1)</script>";
    const web::Response page =
        View("cmbBarType=8&chkBitmap=Off&edtBarcode=" +
             std::string("%3C%2Fscript%3E%3Cscript%3Ealert(1)%3C%2Fscript%3E"));
    EXPECT_EQ(AlertOf(page.Body), web::JsEscape(data + " : Code_93 bad data."));
    EXPECT_EQ(page.Body.find("<script>alert(1)"), std::string::npos);
    EXPECT_NE(page.Body.find("value=\"&lt;/script&gt;&lt;script&gt;alert(1)&lt;/script&gt;\""),
              std::string::npos);
    const Picture picture = DecodeJpeg(PictureOf(page));
    EXPECT_EQ(picture.FirstDark(45), -1);  // background and frame only
    EXPECT_LT(picture.Gray(0, 45), 128);
}

TEST_F(PreviewPageTest, ForgedListIndexesAreRefused) {
    browser.Open();
    for (const std::string& field :
         std::vector<std::string>{"cmbBackColor=18", "cmbBarType=-1", "cmbBarType=23",
                                  "cmbTextShow=4", "cmbTextPost=-5", "cmbTextColor=1e3"}) {
        const web::Response page = View("edtBarcode=AB&chkBitmap=Off&" + field);
        const std::string alert = AlertOf(page.Body);
        EXPECT_NE(alert.find("is not one of the list\\'s items."), std::string::npos) << field;
        EXPECT_EQ(page.Body.find("<img"), std::string::npos) << field;
    }
    // The text font list offers "-- No Selection --", so -1 stays acceptable there.
    EXPECT_EQ(AlertOf(View("edtBarcode=AB&chkBitmap=Off&cmbTextFont=-1").Body), "");
}

TEST_F(PreviewPageTest, ExtremeNumbersAndLongDataAreDrawnOrRefusedCleanly) {
    browser.Open();
    for (const std::string& fields : std::vector<std::string>{
             "edtLeft=2147483647&edtTop=-2147483648",
             "edtLeft=-2147483648&edtTop=2147483647&edtAngle=2147483647",
             "edtHeight=2147483647&edtAngle=-2147483648",
             "edtHeight=-2147483648&edtLeft=0",
             "edtAngle=45&edtHeight=0",
             "edtLeft=99999999999999999999",
             "cmbModul=8&cmbRatio=4&edtBarcode=" + std::string(20000, 'A'),
         }) {
        const web::Response page = View("chkBitmap=Off&edtBarcode=AB&" + fields);
        EXPECT_EQ(page.Status, 200) << fields;
        // The page comes back whole, with the picture or with the engine's message.
        EXPECT_NE(page.Body.find("</html>"), std::string::npos) << fields;
        if (AlertOf(page.Body).empty()) {
            EXPECT_FALSE(PictureOf(page).empty()) << fields;
        }
    }
}

TEST_F(PreviewPageTest, ReloadOfAPostedPageDrawsNothing) {
    browser.Open();
    const std::string firstPage = browser.PostPath();
    View("edtBarcode=AB&chkBitmap=Off");
    const std::size_t files = CachedFiles();
    const web::Response page =
        browser.PostTo(firstPage, "IW_Action=IWButton1&edtBarcode=XYZ&chkBitmap=Off");
    EXPECT_EQ(AlertOf(page.Body), web::JsEscape(web::ResyncWarning));
    // The current page comes back with its picture, written once more, of the old data.
    EXPECT_EQ(CachedFiles(), files + 1);
    EXPECT_EQ(ZbarRead(PictureOf(page)), "AB");
}

TEST(ServerController, NewSessionGetsAUserSession) {
    TempDir dir;
    TIWServerController controller(dir.ModuleDir());
    web::TIWApplication session;
    web::TIWServerControllerBase::TFormFactory factory;
    IWServerControllerBaseNewSession(controller, session, factory);
    EXPECT_NE(dynamic_cast<TUserSession*>(session.Data.get()), nullptr);
    EXPECT_FALSE(factory);
}

TEST(StartApplication, StartsOnceStopsTwiceAndReportsAFailedStart) {
    TempDir dir;
    std::ofstream(dir.Path() / "blocker") << "x";
    try {
        StartApplication((dir.Path() / "blocker").string() + "/");
        FAIL() << "started over a file";
    } catch (const Exception& e) {
        EXPECT_NE(e.Message.find("Cache"), std::string::npos) << e.Message;
    }
    web::Application& app = StartApplication(dir.ModuleDir());
    EXPECT_EQ(&StartApplication(dir.ModuleDir()), &app);
    EXPECT_TRUE(fs::is_directory(dir.Path() / "Cache"));
    PageClient browser(app);
    EXPECT_EQ(browser.Open().Status, 200);
    StopApplication();
    StopApplication();
    EXPECT_EQ(browser.Post("").Status, 503);
}

}  // namespace
}  // namespace ribbon::webdemo
