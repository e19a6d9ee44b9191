// The web core's handle(Request) with any method, path, query, headers and body, next to a live
// session of the preview page: each input is a short series of requests, most of them aimed at
// that session's post-back address with form fields the page knows. Every answer must carry a
// real status; the sanitizers watch the rest. Sessions and pictures are swept now and then so
// that a long run stays small.

#include <fuzzer/FuzzedDataProvider.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "tests/web/PageClient.h"
#include "web/Dispatcher.h"
#include "webdemo/ServerController.h"

namespace {

using namespace ribbon;
using testing::FakeClock;
using testing::MakeRequest;

struct World {
    World()
        : clock(std::make_shared<FakeClock>()),
          controller(dir.ModuleDir(), clock),
          app(controller) {
        controller.MaxSessions = 64;
        Reopen();
    }
    void Reopen() {
        const web::Response page = app.handle(MakeRequest("GET", "/"));
        const auto at = page.Body.find("action=\"/ribbon");
        post = at == std::string::npos
                   ? std::string("/")
                   : page.Body.substr(at + 15, page.Body.find('"', at + 15) - at - 15);
    }
    // Ends every session and picture after a while, then opens the watched session again.
    void Tidy() {
        if (controller.SessionCount() < 48) return;
        clock->Advance(std::chrono::hours(1));
        controller.SweepSessions();
        controller.SweepCache();
        Reopen();
    }

    testing::TempDir dir;
    std::shared_ptr<FakeClock> clock;
    webdemo::TIWServerController controller;
    web::TIWDispatcher app;
    std::string post;  // the live session's post-back path
};

constexpr const char* Fields[] = {
    "IW_Action",    "IW_ActionParam", "edtBarcode",    "cmbBarType",   "cmbModul",
    "cmbRatio",     "chkCheckSum",    "edtLeft",       "edtTop",       "edtHeight",
    "edtAngle",     "cmbBarColor",    "cmbSpaceColor", "cmbTextSize",  "cmbTextFont",
    "cmbTextColor", "cmbTextShow",    "cmbTextPost",   "chkBold",      "chkItalic",
    "chkUnderline", "chkStrikeOut",   "chkBitmap",     "cmbBackColor", "cmbTextBackColor"};

std::string Pick(FuzzedDataProvider& in, std::initializer_list<const char*> choices) {
    const std::size_t i = in.ConsumeIntegralInRange<std::size_t>(0, choices.size());
    return i < choices.size() ? std::string(choices.begin()[i]) : in.ConsumeRandomLengthString(24);
}

// A body of known fields (one of them often the View button) with random values.
std::string FormBody(FuzzedDataProvider& in) {
    std::string body = in.ConsumeBool() ? "IW_Action=IWButton1&IW_ActionParam=" : "";
    const int count = in.ConsumeIntegralInRange(0, 6);
    for (int i = 0; i < count; ++i) {
        body += body.empty() ? "" : "&";
        body += Fields[in.ConsumeIntegralInRange<std::size_t>(0, std::size(Fields) - 1)];
        body += '=' + in.ConsumeRandomLengthString(16);
    }
    return body;
}

web::Request AnyRequest(FuzzedDataProvider& in, const World& world) {
    web::Request request = MakeRequest(Pick(in, {"GET", "POST", "HEAD", "PUT", ""}), "/");
    switch (in.ConsumeIntegralInRange(0, 5)) {
        case 0:
        case 1:
        case 2:
            request.Path = world.post;
            break;
        case 3: {
            // The live session's id under another counter, or a forged one.
            const std::string id = world.post.substr(world.post.rfind('/') + 1);
            request.Path = "/EXEC/" + in.ConsumeRandomLengthString(6) + "/" +
                           (in.ConsumeBool() ? id : in.ConsumeRandomLengthString(30));
            break;
        }
        case 4:
            request.Path = "/cache/" + in.ConsumeRandomLengthString(40);
            break;
        default:
            request.Path = in.ConsumeRandomLengthString(60);
    }
    if (in.ConsumeIntegralInRange(0, 7) == 0) request.Query = in.ConsumeRandomLengthString(60);
    if (in.ConsumeIntegralInRange(0, 3) == 0)
        request.Headers[Pick(in, {"user-agent", "content-type", "cookie", "host"})] =
            in.ConsumeRandomLengthString(80);
    request.Body = in.ConsumeBool() ? FormBody(in) : in.ConsumeRandomLengthString(200);
    return request;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static World world;
    FuzzedDataProvider in(data, size);
    for (int n = in.ConsumeIntegralInRange(1, 4); n > 0 && in.remaining_bytes() > 0; --n) {
        const web::Request request = AnyRequest(in, world);
        const web::Response response = world.app.handle(request);
        if (response.Status < 200 || response.Status > 599) {
            std::fprintf(stderr, "status %d\n", response.Status);
            std::abort();
        }
        // Follow the session to its next page, as a browser would.
        const auto at = response.Body.find("action=\"/ribbon/EXEC/");
        if (at != std::string::npos && request.Path == world.post)
            world.post = response.Body.substr(at + 15, response.Body.find('"', at + 15) - at - 15);
    }
    world.Tidy();
    return 0;
}
