#include "webdemo/ServerController.h"

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "base/Exceptions.h"
#include "base/Format.h"
#include "web/Dispatcher.h"
#include "webdemo/IWUnit1.h"

namespace ribbon::webdemo {

TIWServerController::TIWServerController(const std::string& moduleDir,
                                         std::shared_ptr<web::Clock> clock)
    : TIWServerControllerBase(
          moduleDir,
          [moduleDir](web::TIWApplication&) { return std::make_unique<TformMain>(moduleDir); },
          std::move(clock)) {
    AppName = "MyIWApp";
    Description = "My Web Application";
    ComInitialization = web::ciNone;
    SessionTrackingMethod = web::tmURL;
    DestinationDevice = web::ddWeb;
    ExceptionDisplayMode = web::smAlert;
    ExecCmd = "EXEC";
    HistoryEnabled = false;
    Port = 0;
    SSLPort = 0;
    RestrictIPs = false;
    ShowResyncWarning = true;
    SessionTimeout = 10;
    SupportedBrowsers = {web::brIE, web::brNetscape6};
    OnNewSession = IWServerControllerBaseNewSession;
}

void IWServerControllerBaseNewSession(web::TIWServerControllerBase& /*Sender*/,
                                      web::TIWApplication& ASession,
                                      web::TIWServerControllerBase::TFormFactory& /*VMainForm*/) {
    ASession.Data = std::make_unique<TUserSession>();
}

namespace {

// A whole number above 0 from the environment; fallback when the variable is not set.
std::uintmax_t FromEnvironment(const char* name, std::uintmax_t fallback) {
    const char* text = std::getenv(name);
    if (!text || !*text) return fallback;
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(text, &end, 10);
    if (*text == '-' || *end != '\0' || errno != 0 || value == 0)
        throw Exception(Format("%s must be a whole number above 0, not \"%s\".", name, text));
    return value;
}

struct TRunning {
    std::unique_ptr<TIWServerController> Controller;
    std::unique_ptr<web::TIWDispatcher> Dispatcher;
};

std::mutex runningLock;
std::unique_ptr<TRunning> running;
// A stopped application stays allocated: a request still inside it must not find it gone.
std::vector<std::unique_ptr<TRunning>> stopped;

}  // namespace

web::Application& StartApplication(const std::string& moduleDir) {
    std::lock_guard lock(runningLock);
    if (running) return *running->Dispatcher;
    if (moduleDir.empty()) throw Exception("The module directory is not known.");
    const std::string dir = moduleDir.back() == '/' ? moduleDir : moduleDir + "/";
    auto app = std::make_unique<TRunning>();
    app->Controller = std::make_unique<TIWServerController>(dir);
    // The limits can be set for a host from its environment.
    auto& controller = *app->Controller;
    controller.MaxSessions = FromEnvironment("RIBBON_WEB_MAX_SESSIONS", controller.MaxSessions);
    controller.MaxSessionsPerClient =
        FromEnvironment("RIBBON_WEB_MAX_SESSIONS_PER_CLIENT", controller.MaxSessionsPerClient);
    controller.CacheQuota =
        FromEnvironment("RIBBON_WEB_CACHE_QUOTA_MB", controller.CacheQuota >> 20) << 20;
    app->Controller->StartSweepers();
    app->Dispatcher = std::make_unique<web::TIWDispatcher>(*app->Controller);
    running = std::move(app);
    return *running->Dispatcher;
}

void StopApplication() {
    std::lock_guard lock(runningLock);
    if (!running) return;
    running->Controller->Shutdown();
    stopped.push_back(std::move(running));
}

}  // namespace ribbon::webdemo
