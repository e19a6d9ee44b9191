// The framework's handling of requests, through the dispatcher, with a small form of its own.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "base/Exceptions.h"
#include "tests/web/PageClient.h"
#include "web/Dispatcher.h"
#include "web/Escape.h"
#include "web/ServerControllerBase.h"

namespace ribbon::web {
namespace {

using testing::AlertOf;
using testing::FakeClock;
using testing::MakeRequest;
using testing::PageClient;
using testing::TempDir;
namespace fs = std::filesystem;

// Counts how many requests are writing the page of one form at the same moment.
struct Overlap {
    std::atomic<int> inside{0};
    std::atomic<int> most{0};
};

class OverlapProbe : public TIWLabel {
  public:
    OverlapProbe(Overlap& overlap) : TIWLabel("labProbe", 0, 0, 1, 1), overlap_(overlap) {}
    void Render(std::string& html, const TRenderContext& context) const override {
        const int now = ++overlap_.inside;
        for (int seen = overlap_.most;
             now > seen && !overlap_.most.compare_exchange_weak(seen, now);) {
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        --overlap_.inside;
        TIWLabel::Render(html, context);
    }

  private:
    Overlap& overlap_;
};

// What the test form's buttons do when clicked.
struct Clicks {
    int go = 0;
    std::string fail;  // a message for btnFail to raise
};

class TestForm : public TIWAppForm {
  public:
    explicit TestForm(Clicks& clicks) : TIWAppForm("formTest", 300, 200) {
        edt = Add<TIWEdit>("edtText", 10, 20, 100, 21, 0);
        edt->Text = "start";
        lst = Add<TIWComboBox>("cmbPick", 10, 50, 100, 21, 1);
        lst->Items = {"zero", "one", "two"};
        lst->ItemIndex = 1;
        open = Add<TIWComboBox>("cmbOpen", 10, 80, 100, 21, 2);
        open->Items = {"a", "b"};
        chk = Add<TIWCheckBox>("chkFlag", 10, 110, 100, 21, 3);
        chk->Caption = "Flag & <more>";
        auto* go = Add<TIWButton>("btnGo", 10, 140, 60, 21, 4);
        go->OnClick = [&clicks](TIWControl&) { ++clicks.go; };
        auto* fail = Add<TIWButton>("btnFail", 80, 140, 60, 21, 5);
        fail->OnClick = [&clicks](TIWControl&) { throw Exception(clicks.fail); };
        auto* abort = Add<TIWButton>("btnAbort", 150, 140, 60, 21, 6);
        abort->OnClick = [](TIWControl&) { throw EAbort(); };
        Add<TIWButton>("btnNothing", 220, 140, 60, 21, 7);
        img = Add<TIWImage>("imgPicture", 120, 10, 50, 40);
        Add<OverlapProbe>(overlap);
    }
    TIWEdit* edt;
    TIWComboBox* lst;
    TIWComboBox* open;
    TIWCheckBox* chk;
    TIWImage* img;
    Overlap overlap;
};

class ServerControllerTest : public ::testing::Test {
  protected:
    ServerControllerTest()
        : clock(std::make_shared<FakeClock>()),
          controller(
              dir.ModuleDir(),
              [this](TIWApplication&) {
                  auto form = std::make_unique<TestForm>(clicks);
                  forms.push_back(form.get());
                  return form;
              },
              clock),
          app(controller) {
        controller.Description = "Test <App>";
    }

    TempDir dir;
    Clicks clicks;
    std::vector<TestForm*> forms;
    std::shared_ptr<FakeClock> clock;
    TIWServerControllerBase controller;
    TIWDispatcher app;
};

TEST_F(ServerControllerTest, NewSessionGetsTheFormWithItsPostBackUrl) {
    PageClient browser(app);
    const Response page = browser.Open();
    EXPECT_EQ(page.Status, 200);
    EXPECT_EQ(browser.PostPath(), "/EXEC/1/" + browser.SessionId());
    EXPECT_NE(page.Body.find("history.go(1);"), std::string::npos);
    EXPECT_NE(page.Body.find("<title>Test &lt;App&gt;</title>"), std::string::npos);
    EXPECT_NE(page.Body.find("width:300px;height:200px;"), std::string::npos);
    EXPECT_NE(page.Body.find("Flag &amp; &lt;more&gt;"), std::string::npos);
    // An empty picture writes no image element.
    EXPECT_EQ(page.Body.find("<img"), std::string::npos);
    EXPECT_EQ(controller.SessionCount(), 1u);
    ASSERT_EQ(forms.size(), 1u);
}

TEST_F(ServerControllerTest, NoSelectionEntryOnlyForAListAtMinusOne) {
    const Response page = PageClient(app).Open();
    const auto pick = page.Body.find("id=\"cmbPick\"");
    const auto open = page.Body.find("id=\"cmbOpen\"");
    const auto noSelection = page.Body.find("-- No Selection --");
    ASSERT_NE(noSelection, std::string::npos);
    EXPECT_GT(noSelection, open);
    EXPECT_EQ(page.Body.find("-- No Selection --", noSelection + 1), std::string::npos);
    EXPECT_NE(page.Body.find("<option value=\"1\" selected>one</option>", pick), std::string::npos);
}

TEST_F(ServerControllerTest, PostAppliesValuesThenRunsTheNamedEvent) {
    PageClient browser(app);
    browser.Open();
    const Response page = browser.Post(
        "IW_Action=btnGo&IW_ActionParam=&edtText=a+%3Cb%3E&cmbPick=2,x&cmbOpen=0&chkFlag=Off&"
        "chkFlag=oN&unknownField=1");
    EXPECT_EQ(clicks.go, 1);
    EXPECT_EQ(forms[0]->edt->Text, "a <b>");
    EXPECT_EQ(forms[0]->lst->ItemIndex, 2);
    EXPECT_EQ(forms[0]->open->ItemIndex, 0);
    EXPECT_TRUE(forms[0]->chk->Checked);
    EXPECT_EQ(AlertOf(page.Body), "");
    EXPECT_NE(page.Body.find("value=\"a &lt;b&gt;\""), std::string::npos);
    EXPECT_EQ(browser.PostPath(), "/EXEC/2/" + browser.SessionId());

    browser.Post("chkFlag=Off");  // no IW_Action: the default action, no click
    EXPECT_FALSE(forms[0]->chk->Checked);
    EXPECT_EQ(clicks.go, 1);
}

TEST_F(ServerControllerTest, ErrorsOfThePostBecomeAlerts) {
    clicks.fail = "Bad \"data\"\r\nC:\\x </script><script>alert(1)</script>";
    const struct {
        std::string body;
        std::string alert;  // unescaped
    } cases[] = {
        {"IW_Action=btnMissing", "Cannot find submit component."},
        {"IW_Action=btnNothing", "Submit control (btnNothing) does not have a handler."},
        {"IW_Action=btnFail", clicks.fail},
        {"IW_Action=btnAbort", ""},
        {"cmbPick=3&IW_Action=btnGo", "cmbPick: \"3\" is not one of the list's items."},
        {"cmbPick=-1&IW_Action=btnGo", "cmbPick: \"-1\" is not one of the list's items."},
        {"cmbPick=x&IW_Action=btnGo", "cmbPick: \"x\" is not one of the list's items."},
        {"cmbPick=99999999999999999999&IW_Action=btnGo",
         "cmbPick: \"99999999999999999999\" is not one of the list's items."},
    };
    PageClient browser(app);
    browser.Open();
    for (const auto& c : cases) {
        const Response page = browser.Post(c.body);
        EXPECT_EQ(AlertOf(page.Body), JsEscape(c.alert)) << c.body;
        EXPECT_EQ(page.Body.find("<script>alert(1)"), std::string::npos);
    }
    EXPECT_EQ(clicks.go, 0);  // a refused value stops the event
    EXPECT_EQ(forms[0]->lst->ItemIndex, 1);
}

TEST_F(ServerControllerTest, MinusOneIsTakenWhileTheListOffersNoSelection) {
    PageClient browser(app);
    browser.Open();
    const Response page = browser.Post("cmbOpen=-1&IW_Action=btnGo");
    EXPECT_EQ(AlertOf(page.Body), "");
    EXPECT_EQ(forms[0]->open->ItemIndex, -1);
    EXPECT_EQ(clicks.go, 1);
}

TEST_F(ServerControllerTest, StalePostIsIgnoredWithTheResyncWarning) {
    PageClient browser(app);
    browser.Open();
    const std::string first = browser.PostPath();
    browser.Post("edtText=one");
    const Response page = browser.PostTo(first, "edtText=two&IW_Action=btnGo");
    EXPECT_EQ(AlertOf(page.Body), JsEscape(ResyncWarning));
    EXPECT_NE(AlertOf(page.Body).find("page that  depends"), std::string::npos);
    EXPECT_NE(AlertOf(page.Body).find("server application.\\n\\nYour"), std::string::npos);
    EXPECT_EQ(forms[0]->edt->Text, "one");
    EXPECT_EQ(clicks.go, 0);
    // The resent page counts as a page.
    EXPECT_NE(page.Body.find("/EXEC/3/" + browser.SessionId()), std::string::npos);
}

TEST_F(ServerControllerTest, UnknownOrMalformedSessionsAreNotFound) {
    PageClient browser(app);
    browser.Open();
    const std::string id = browser.SessionId();
    for (const std::string& path : std::vector<std::string>{
             "/EXEC/1/0123456789abcdef01234567", "/EXEC/1/" + id.substr(1), "/EXEC/x/" + id,
             "/EXEC/1/" + id + "/more", "/EXEC", "/EXEC/", "/EXEC/1/<script>x</script>xxxxxxxx"}) {
        const Response page = app.handle(MakeRequest("POST", path, "IW_Action=btnGo"));
        EXPECT_NE(page.Body.find(SessionNotFound), std::string::npos) << path;
        EXPECT_EQ(page.Body.find("<script>"), std::string::npos) << path;
    }
    EXPECT_EQ(clicks.go, 0);
    // The ExecCmd segment is matched without regard to case.
    app.handle(MakeRequest("POST", "/exec/1/" + id, "IW_Action=btnGo"));
    EXPECT_EQ(clicks.go, 1);
}

TEST_F(ServerControllerTest, SessionsAreSeparate) {
    PageClient first(app), second(app);
    first.Open();
    second.Open();
    EXPECT_NE(first.SessionId(), second.SessionId());
    first.Post("edtText=mine");
    EXPECT_EQ(forms[0]->edt->Text, "mine");
    EXPECT_EQ(forms[1]->edt->Text, "start");
    // The other session's counter is its own: it is still at its first page.
    EXPECT_EQ(AlertOf(second.Post("edtText=yours").Body), "");
    EXPECT_EQ(forms[1]->edt->Text, "yours");
}

TEST_F(ServerControllerTest, OneSessionServesOneRequestAtATime) {
    PageClient first(app), second(app);
    first.Open();
    second.Open();
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t) {
        threads.emplace_back([&, t] {
            PageClient& browser = t % 2 ? first : second;
            for (int i = 0; i < 5; ++i)
                app.handle(MakeRequest("POST", browser.PostPath(), "IW_Action=btnGo"));
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(forms[0]->overlap.most.load(), 1);
    EXPECT_EQ(forms[1]->overlap.most.load(), 1);
    EXPECT_EQ(controller.SessionCount(), 2u);
    EXPECT_EQ(first.Post("").Status, 200);
}

TEST_F(ServerControllerTest, AnotherBrowserFamilyIsRefused) {
    PageClient browser(app);
    browser.Open();
    const Response page =
        app.handle(MakeRequest("POST", browser.PostPath(), "edtText=x", testing::IEAgent));
    EXPECT_NE(page.Body.find(BrowserMismatch), std::string::npos);
    EXPECT_EQ(forms[0]->edt->Text, "start");
    EXPECT_EQ(BrowserFamily(testing::IEAgent), brIE);
    EXPECT_EQ(BrowserFamily("Mozilla/5.0 (Windows NT 10.0; Trident/7.0; rv:11.0) like Gecko"),
              brIE);
    EXPECT_EQ(BrowserFamily(testing::ChromeAgent), brNetscape6);
    EXPECT_EQ(BrowserFamily(""), brNetscape6);
}

TEST_F(ServerControllerTest, SessionEndsAfterTheTimeout) {
    PageClient idle(app), busy(app);
    idle.Open();
    busy.Open();
    clock->Advance(std::chrono::minutes(9));
    busy.Post("edtText=x");
    EXPECT_EQ(controller.SweepSessions(), 0);
    clock->Advance(std::chrono::minutes(1));
    EXPECT_EQ(controller.SweepSessions(), 1);
    EXPECT_EQ(controller.SessionCount(), 1u);
    EXPECT_NE(idle.Post("edtText=y").Body.find(SessionNotFound), std::string::npos);
    EXPECT_EQ(AlertOf(busy.Post("edtText=z").Body), "");
}

TEST_F(ServerControllerTest, PicturesAreServedFromTheCacheOnly) {
    PageClient browser(app);
    browser.Open();
    forms[0]->img->Picture.SetSize(30, 20);
    const Response page = browser.Post("");
    const auto src = page.Body.find("src=\"/ribbon/cache/JPG");
    ASSERT_NE(src, std::string::npos);
    const std::string name = page.Body.substr(src + 19, 13);
    EXPECT_NE(page.Body.find("border=\"0\" width=\"50\" height=\"40\""), std::string::npos);

    const Response picture = app.handle(MakeRequest("GET", "/cache/" + name));
    EXPECT_EQ(picture.Status, 200);
    EXPECT_EQ(picture.ContentType, "image/jpeg");
    EXPECT_EQ(picture.FilePath, (dir.Path() / "Cache" / name).string());

    std::ofstream(dir.Path() / "Back.bmp") << "x";
    for (const std::string& path :
         std::vector<std::string>{"/cache/../Back.bmp", "/cache/%2e%2e/Back.bmp", "/cache/",
                                  "/cache/JPG000000.tmp", "/cache/" + name + "x"}) {
        const Response refused = app.handle(MakeRequest("GET", path));
        EXPECT_EQ(refused.Status, 404) << path;
        EXPECT_TRUE(refused.FilePath.empty()) << path;
    }
}

// A page whose picture cannot be stored is a clear error; the session stays where it was, so
// the same post sent again works once the cache can take it.
TEST_F(ServerControllerTest, PageThatCannotBeMadeLeavesTheCounterAlone) {
    const fs::path cache = dir.Path() / "Cache";
    const struct {
        const char* fault;
        std::function<void()> breakCache, mendCache;
    } cases[] = {
        {"full", [&] { controller.CacheQuota = 1; },
         [&] { controller.CacheQuota = TPictureCache::DefaultQuota; }},
        {"unwritable",
         [&] {
             fs::rename(cache, dir.Path() / "Cache.away");
             std::ofstream(cache) << "not a directory";
         },
         [&] {
             fs::remove(cache);
             fs::rename(dir.Path() / "Cache.away", cache);
         }},
    };
    for (const auto& c : cases) {
        PageClient browser(app);
        browser.Open();
        const std::string path = browser.PostPath();
        c.breakCache();
        forms.back()->img->Picture.SetSize(30, 20);
        const Response failed = browser.PostTo(path, "edtText=drawn&IW_Action=btnGo");
        EXPECT_EQ(failed.Status, 503) << c.fault;
        EXPECT_NE(failed.Body.find("The page could not be made: "), std::string::npos) << c.fault;
        EXPECT_NE(failed.Body.find("href=\"/ribbon" + path + "\">Try again"), std::string::npos)
            << c.fault;
        c.mendCache();
        const Response retried = browser.PostTo(path, "edtText=drawn&IW_Action=btnGo");
        EXPECT_EQ(retried.Status, 200) << c.fault;
        EXPECT_EQ(AlertOf(retried.Body), "") << c.fault;
        EXPECT_NE(retried.Body.find("src=\"/ribbon/cache/JPG"), std::string::npos) << c.fault;
    }
    EXPECT_EQ(clicks.go, 4);
}

TEST_F(ServerControllerTest, DispatcherRefusesWhatNoPageTakes) {
    EXPECT_EQ(app.handle(MakeRequest("PUT", "/")).Status, 405);
    EXPECT_EQ(app.handle(MakeRequest("DELETE", "/cache/x")).Status, 405);
    EXPECT_EQ(app.handle(MakeRequest("POST", "/", std::string(MaxRequestBody + 1, 'a'))).Status,
              413);
    const Response head = app.handle(MakeRequest("HEAD", "/"));
    EXPECT_EQ(head.Status, 200);
    EXPECT_TRUE(head.Body.empty());
    EXPECT_EQ(controller.SessionCount(), 0u);
}

TEST_F(ServerControllerTest, FullTableAnswersServerBusyWithRetryAfter) {
    controller.MaxSessions = 3;
    controller.MaxSessionsPerClient = 3;
    std::vector<PageClient> working;
    for (int i = 0; i < 3; ++i) {
        working.emplace_back(app, testing::ChromeAgent, "10.0.0." + std::to_string(i));
        EXPECT_EQ(working.back().Open().Status, 200);
        EXPECT_EQ(working.back().Post("edtText=x").Status, 200);
    }
    const Response busy = PageClient(app, testing::ChromeAgent, "10.0.1.1").Open();
    EXPECT_EQ(busy.Status, 503);
    EXPECT_NE(busy.Body.find(ServerBusy), std::string::npos);
    EXPECT_NE(std::find(busy.Headers.begin(), busy.Headers.end(),
                        std::pair<std::string, std::string>("Retry-After", "30")),
              busy.Headers.end());
    EXPECT_EQ(controller.SessionCount(), 3u);
    for (auto& client : working) EXPECT_EQ(client.Post("edtText=y").Status, 200);
}

// One client opening sessions as fast as it can only ever replaces its own sessions that never
// posted; others keep theirs and still get new ones.
TEST_F(ServerControllerTest, FloodingClientCannotKeepOthersOut) {
    controller.MaxSessions = 8;
    controller.MaxSessionsPerClient = 4;
    const std::string flooder = "2001:db8:1:2:";
    PageClient user(app, testing::ChromeAgent, "192.0.2.7");
    ASSERT_EQ(user.Open().Status, 200);
    ASSERT_EQ(user.Post("edtText=mine").Status, 200);
    PageClient justOpened(app, testing::ChromeAgent, "192.0.2.8");
    ASSERT_EQ(justOpened.Open().Status, 200);
    // Every address of one IPv6 /64 is one client.
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(PageClient(app, testing::ChromeAgent, flooder + std::to_string(i) + "::1")
                      .Open()
                      .Status,
                  200);
    EXPECT_EQ(controller.SessionCount(), 6u);
    EXPECT_EQ(user.Post("edtText=still").Status, 200);
    EXPECT_EQ(AlertOf(user.Post("").Body), "");
    EXPECT_EQ(justOpened.Post("edtText=late").Body.find(SessionNotFound), std::string::npos);

    // Sessions of many clients that never posted make room for a new one; working ones stay.
    for (int i = 0; i < 20; ++i)
        PageClient(app, testing::ChromeAgent, "198.51.100." + std::to_string(i)).Open();
    EXPECT_EQ(controller.SessionCount(), 8u);
    EXPECT_EQ(PageClient(app, testing::ChromeAgent, "203.0.113.1").Open().Status, 200);
    EXPECT_EQ(user.Post("edtText=again").Body.find(SessionNotFound), std::string::npos);
    EXPECT_EQ(justOpened.Post("edtText=again").Body.find(SessionNotFound), std::string::npos);

    // A flooder that posts every session holds its share and no more.
    for (int i = 0; i < 6; ++i) {
        PageClient posting(app, testing::ChromeAgent, flooder + "ff::" + std::to_string(i));
        const int status = posting.Open().Status;
        if (status == 200) posting.Post("edtText=x");
        EXPECT_EQ(status, i < 4 ? 200 : 503) << i;
    }
}

TEST(ClientOf, GroupsAnIPv6NetworkAndKeepsIPv4Addresses) {
    const struct {
        const char* address;
        const char* client;
    } cases[] = {
        {"192.0.2.7", "192.0.2.7"},
        {"::ffff:192.0.2.7", "192.0.2.7"},
        {"2001:db8:1:2:3:4:5:6", "2001:db8:1:2::/64"},
        {"2001:db8:1:2::9", "2001:db8:1:2::/64"},
        {"", ""},
        {"not:an:address", "not:an:address"},
    };
    for (const auto& c : cases) EXPECT_EQ(ClientOf(c.address), c.client) << c.address;
}

TEST_F(ServerControllerTest, ShutdownFreesSessionsAndRefusesRequests) {
    PageClient browser(app);
    browser.Open();
    controller.StartSweepers();
    controller.Shutdown();
    controller.Shutdown();
    EXPECT_EQ(controller.SessionCount(), 0u);
    EXPECT_EQ(browser.Post("edtText=x").Status, 503);
}

TEST_F(ServerControllerTest, StartUpSweepsTheCache) {
    TempDir other;
    std::filesystem::create_directories(other.Path() / "Cache");
    std::ofstream(other.Path() / "Cache" / "JPGstale0.tmp") << "x";
    std::filesystem::last_write_time(
        other.Path() / "Cache" / "JPGstale0.tmp",
        std::filesystem::file_time_type::clock::now() - std::chrono::minutes(30));
    TIWServerControllerBase fresh(
        other.ModuleDir(), [](TIWApplication&) { return std::make_unique<TIWAppForm>("f", 1, 1); });
    EXPECT_FALSE(std::filesystem::exists(other.Path() / "Cache" / "JPGstale0.tmp"));
}

}  // namespace
}  // namespace ribbon::web
