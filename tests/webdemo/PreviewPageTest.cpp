// The preview page end to end inside the process: the form as the browser gets it, and "View"
// producing a picture that a real decoder reads back.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <regex>
#include <sstream>
#include <tuple>
#include <vector>

#include "graphics/Bitmap.h"
#include "tests/Decoders.h"
#include "tests/JpegFile.h"
#include "tests/web/PageClient.h"
#include "web/Dispatcher.h"
#include "web/Escape.h"
#include "webdemo/IWUnit1.h"
#include "webdemo/ServerController.h"

namespace ribbon::webdemo {
namespace {

using test::DecodeJpeg;
using test::Picture;
using test::ZbarRead;
using testing::AlertOf;
using testing::FakeClock;
using testing::PageClient;
using testing::TempDir;
namespace fs = std::filesystem;

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

// A control as the page places it.
struct Placed {
    std::string Name, Caption;
    int Left = 0, Top = 0, Width = 0, Height = 0, TabIndex = 0;  // TabIndex 0: none
    bool Overlaps(const Placed& o) const {
        return Left < o.Left + o.Width && o.Left < Left + Width && Top < o.Top + o.Height &&
               o.Top < Top + Height;
    }
};

// Every element of the page placed with position:absolute, one a line.
std::vector<Placed> PlacedControls(const std::string& page) {
    static const std::regex id(R"re(id="(\w+)")re");
    static const std::regex place(
        R"(position:absolute;left:(-?\d+)px;top:(-?\d+)px;width:(\d+)px;height:(\d+)px;)");
    static const std::regex tab(R"re(tabindex="(\d+)")re");
    static const std::regex caption(R"(>([^<]*)</div>)");
    std::vector<Placed> placed;
    std::istringstream lines(page);
    for (std::string line; std::getline(lines, line);) {
        std::smatch m, n;
        if (!std::regex_search(line, m, place) || !std::regex_search(line, n, id)) continue;
        Placed c{n[1], "", std::stoi(m[1]), std::stoi(m[2]), std::stoi(m[3]), std::stoi(m[4])};
        if (std::regex_search(line, m, tab)) c.TabIndex = std::stoi(m[1]);
        if (std::regex_search(line, m, caption)) c.Caption = m[1];
        placed.push_back(c);
    }
    return placed;
}

TEST_F(PreviewPageTest, LayoutAsTheUserSeesIt) {
    browser.Open();
    const std::string page = View("edtBarcode=AB&chkBitmap=Off").Body;
    EXPECT_NE(page.find("width:576px;height:562px;"), std::string::npos);
    const std::vector<Placed> controls = PlacedControls(page);
    ASSERT_EQ(controls.size(), 43u);  // the form's 42 controls and the picture
    const auto named = [&](std::string_view name) {
        return *std::find_if(controls.begin(), controls.end(),
                             [&](const Placed& c) { return c.Name == name; });
    };

    // Everything lies inside the form, and nothing covers anything else.
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const Placed& c = controls[i];
        EXPECT_TRUE(c.Left >= 0 && c.Top >= 0 && c.Left + c.Width <= 576 && c.Top + c.Height <= 562)
            << c.Name;
        for (std::size_t j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE(c.Overlaps(controls[j])) << c.Name << " and " << controls[j].Name;
    }

    // The picture heads the form, above every other control.
    const Placed picture = named("IWImage1");
    EXPECT_EQ(std::tie(picture.Left, picture.Top, picture.Width, picture.Height),
              std::tuple(8, 8, 500, 200));
    for (const Placed& c : controls) {
        if (c.Name != picture.Name) {
            EXPECT_GE(c.Top, picture.Top + picture.Height) << c.Name;
        }
    }

    // Tab walks the fields in the form's reading order and ends on "View".
    std::vector<Placed> tabbed;
    std::copy_if(controls.begin(), controls.end(), std::back_inserter(tabbed),
                 [](const Placed& c) { return c.TabIndex > 0; });
    std::sort(tabbed.begin(), tabbed.end(),
              [](const Placed& a, const Placed& b) { return a.TabIndex < b.TabIndex; });
    std::vector<std::string> order;
    for (const Placed& c : tabbed) order.push_back(c.Name);
    EXPECT_EQ(order, (std::vector<std::string>{
                         "edtBarcode",   "cmbBarType",   "cmbModul",         "cmbRatio",
                         "chkCheckSum",  "edtLeft",      "edtTop",           "edtHeight",
                         "edtAngle",     "cmbBarColor",  "cmbSpaceColor",    "cmbTextSize",
                         "cmbTextFont",  "chkBold",      "chkItalic",        "chkUnderline",
                         "chkStrikeOut", "cmbTextColor", "cmbTextBackColor", "cmbTextShow",
                         "cmbTextPost",  "cmbBackColor", "chkBitmap",        "IWButton1"}));
    for (std::size_t i = 0; i < tabbed.size(); ++i) EXPECT_EQ(tabbed[i].TabIndex, int(i) + 1);

    // Each field has its caption just to its left, on its line.
    const std::pair<const char*, const char*> captions[] = {
        {"Barcode", "edtBarcode"},     {"BarType", "cmbBarType"},
        {"Modul", "cmbModul"},         {"Ratio", "cmbRatio"},
        {"Left", "edtLeft"},           {"Top", "edtTop"},
        {"Height", "edtHeight"},       {"Angle", "edtAngle"},
        {"BarColor", "cmbBarColor"},   {"SpaceColor", "cmbSpaceColor"},
        {"TextSize", "cmbTextSize"},   {"TextFont", "cmbTextFont"},
        {"TextColor", "cmbTextColor"}, {"TextBackColor", "cmbTextBackColor"},
        {"TextShow", "cmbTextShow"},   {"TextPosition", "cmbTextPost"},
        {"BackColor", "cmbBackColor"},
    };
    for (const auto& [text, field] : captions) {
        const auto label = std::find_if(controls.begin(), controls.end(),
                                        [&](const Placed& c) { return c.Caption == text; });
        ASSERT_NE(label, controls.end()) << text;
        const Placed f = named(field);
        const int middle = label->Top + label->Height / 2;
        const int gap = f.Left - (label->Left + label->Width);
        EXPECT_TRUE(gap >= 0 && gap <= 40 && middle >= f.Top && middle < f.Top + f.Height)
            << text << " beside " << field;
    }
    EXPECT_NE(
        page.find("<input type=\"button\" name=\"IWButton1\" id=\"IWButton1\" value=\"View\""),
        std::string::npos);
    // No picture until the first "View".
    EXPECT_EQ(PageClient(app).Open().Body.find("<img"), std::string::npos);
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

// Where a colour shows in a picture: the box around its pixels and how many there are. JPEG
// blurs the edges between colours, and the blends are near none of the colours used here.
struct Area {
    int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1, Pixels = 0;
    int Width() const { return Right - Left + 1; }
    int Height() const { return Bottom - Top + 1; }
};

Area AreaOf(const Picture& picture, TColor color) {
    const int rgb[3] = {GetRValue(color), GetGValue(color), GetBValue(color)};
    Area a;
    for (int y = 0; y < picture.Height; ++y) {
        for (int x = 0; x < picture.Width; ++x) {
            const unsigned char* p =
                &picture.Rgb[(static_cast<std::size_t>(y) * picture.Width + x) * 3];
            bool near = true;
            for (int i = 0; i < 3; ++i) near = near && std::abs(p[i] - rgb[i]) < 80;
            if (!near) continue;
            a.Left = std::min(a.Left, x), a.Right = std::max(a.Right, x);
            a.Top = std::min(a.Top, y), a.Bottom = std::max(a.Bottom, y);
            ++a.Pixels;
        }
    }
    return a;
}

// Every field of the form reaches the drawing: each one changed alone changes the picture the
// way a user would expect. Each role gets a colour of its own: bars Blue, spaces Yellow, text
// Red on Lime, background Aqua. Every post sets every field, since the form keeps the values of
// the last one.
TEST_F(PreviewPageTest, EachFieldShowsInThePicture) {
    browser.Open();
    const std::string base =
        "chkBitmap=Off&edtBarcode=CODE39&cmbBarType=3&cmbModul=2&cmbRatio=1&chkCheckSum=Off&"
        "edtLeft=20&edtTop=20&edtHeight=50&edtAngle=0&cmbTextSize=7&cmbTextFont=0&"
        "cmbTextShow=1&cmbTextPost=5&cmbBarColor=12&cmbSpaceColor=11&cmbTextColor=9&"
        "cmbTextBackColor=10&cmbBackColor=14&";
    const auto draw = [&](const std::string& fields) {
        const web::Response page = View(base + fields);
        EXPECT_EQ(AlertOf(page.Body), "") << fields;
        return DecodeJpeg(PictureOf(page));
    };
    struct Seen {
        Area bars, spaces, cell, glyphs;
    };
    const auto see = [&](const std::string& fields) {
        const Picture p = draw(fields);
        return Seen{AreaOf(p, clBlue), AreaOf(p, clYellow), AreaOf(p, clLime), AreaOf(p, clRed)};
    };

    const Picture plain = draw("");
    const Seen was = see("");
    // The colours each play their part: the symbol starts with a bar at Left, its spaces lie
    // within it, the glyphs on their cell at the bottom centre, the rest is background.
    EXPECT_EQ(std::tuple(was.bars.Left, was.bars.Top), std::tuple(20, 20));
    EXPECT_TRUE(was.spaces.Pixels > 0 && was.spaces.Left > was.bars.Left &&
                was.spaces.Right < was.bars.Right);
    EXPECT_TRUE(was.glyphs.Pixels > 0 && was.glyphs.Left > was.cell.Left &&
                was.glyphs.Right < was.cell.Right && was.cell.Pixels > was.glyphs.Pixels);
    EXPECT_NEAR(was.cell.Bottom, was.bars.Bottom, 2);
    EXPECT_NEAR(was.cell.Left + was.cell.Right, was.bars.Left + was.bars.Right, 4);
    const Area back = AreaOf(plain, clAqua);
    EXPECT_EQ(std::tuple(back.Left, back.Top, back.Right, back.Bottom), std::tuple(1, 1, 498, 198))
        << "the background fills the frame";

    Seen now = see("edtTop=60");
    EXPECT_EQ(now.bars.Top, was.bars.Top + 40);
    now = see("edtHeight=100");
    EXPECT_EQ(now.bars.Height(), was.bars.Height() + 50);
    now = see("edtAngle=90&cmbTextShow=0");
    // Upright now, and running off the bottom of the picture.
    EXPECT_TRUE(now.bars.Width() == was.bars.Height() && now.bars.Height() > now.bars.Width());
    now = see("chkCheckSum=On");
    EXPECT_EQ(now.bars.Width(), was.bars.Width() + 13 * 3) << "one character more";
    now = see("cmbTextSize=0");
    EXPECT_LT(now.cell.Height() + 5, was.cell.Height()) << "7 points, not 14";
    EXPECT_NE(see("cmbTextFont=2").cell.Width(), was.cell.Width()) << "Impact, not Courier";
    now = see("cmbTextShow=0");
    EXPECT_EQ(now.cell.Pixels + now.glyphs.Pixels, 0);
    now = see("cmbTextShow=3");
    EXPECT_GT(now.cell.Width(), was.cell.Width()) << "\"Code39 CODE39\"";
    now = see("cmbTextPost=0");
    EXPECT_TRUE(std::abs(now.cell.Top - now.bars.Top) <= 2 &&
                std::abs(now.cell.Left - now.bars.Left) <= 2)
        << "top left";
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

// The background is decoded once and shared, yet a file replaced or removed between two
// clicks behaves as if every click read it.
TEST_F(PreviewPageTest, ReplacedOrRemovedBackgroundBitmapIsSeenOnTheNextView) {
    const std::string path = dir.ModuleDir() + "Back.bmp";
    auto save = [&](int width, TColor color) {
        TBitmap back(width, 100);
        back.Canvas().Brush.SetColor(color);
        back.Canvas().FillRect({0, 0, width, 100});
        back.SaveToFile(path);
    };
    browser.Open();
    save(300, clYellow);
    EXPECT_EQ(DecodeJpeg(PictureOf(View("edtBarcode=AB&chkBitmap=On"))).Width, 300);
    save(320, clNavy);
    const Picture replaced = DecodeJpeg(PictureOf(View("edtBarcode=AB&chkBitmap=On")));
    EXPECT_EQ(replaced.Width, 320);
    EXPECT_LT(replaced.Gray(5, 90), 128);  // navy, not the yellow of the first file
    fs::remove(path);
    EXPECT_NE(AlertOf(View("edtBarcode=AB&chkBitmap=On").Body).find("Back.bmp"), std::string::npos);
}

TEST_F(PreviewPageTest, MissingBackgroundBitmapIsAnAlertAndNoPicture) {
    browser.Open();
    const web::Response page = View("edtBarcode=AB");  // BackBitmap is checked at start
    EXPECT_NE(AlertOf(page.Body).find("Back.bmp"), std::string::npos) << AlertOf(page.Body);
    EXPECT_EQ(page.Body.find("<img"), std::string::npos);
    EXPECT_EQ(CachedFiles(), 0u);
}

// Pictures are drawn in reused pixels; a View that fails before its background is in place must
// not show what another session drew there.
TEST_F(PreviewPageTest, FailedViewNeverShowsAnotherSessionsPicture) {
    PageClient other(app);
    other.Open();
    ASSERT_NE(other.Post("IW_Action=IWButton1&edtBarcode=SECRET&chkBitmap=Off").Body.find("<img"),
              std::string::npos);
    browser.Open();
    const web::Response page = View("edtBarcode=AB");  // Back.bmp is missing
    EXPECT_NE(AlertOf(page.Body).find("Back.bmp"), std::string::npos);
    EXPECT_EQ(page.Body.find("<img"), std::string::npos);
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
