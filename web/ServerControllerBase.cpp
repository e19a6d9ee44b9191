// The server controller's routing: which request starts a session, which one a session serves,
// how a post reaches the form, and which page answers.

#include "web/ServerControllerBase.h"

#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include "base/Exceptions.h"
#include "base/Format.h"
#include "web/FormData.h"
#include "web/Pages.h"
#include "web/SessionId.h"

namespace ribbon::web {

namespace {

bool AllDigits(std::string_view text) {
    if (text.empty() || text.size() > 18) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace

std::size_t DefaultMaxSessions() {
    constexpr std::uintmax_t PerSession = 64 * 1024;
    const long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGESIZE);
    std::uintmax_t memory = pages > 0 && pageSize > 0 ? std::uintmax_t(pages) * pageSize : 0;
    // A container's limit ("max" when there is none).
    std::uintmax_t limit = 0;
    if (std::ifstream("/sys/fs/cgroup/memory.max") >> limit && limit > 0)
        memory = memory ? std::min(memory, limit) : limit;
    const std::uintmax_t sessions = memory / 16 / PerSession;
    return static_cast<std::size_t>(std::clamp<std::uintmax_t>(sessions, 1000, 10000));
}

TIWServerControllerBase::TIWServerControllerBase(const std::string& moduleDir,
                                                 TFormFactory mainForm,
                                                 std::shared_ptr<Clock> clock)
    : moduleDir_(moduleDir),
      mainForm_(std::move(mainForm)),
      clock_(std::move(clock)),
      cache_(std::filesystem::path(moduleDir) / "Cache"),
      sessions_(*clock_) {
    cache_.Sweep(clock_->Now());
}

TIWServerControllerBase::~TIWServerControllerBase() {
    Shutdown();
}

void TIWServerControllerBase::StartSweepers() {
    std::lock_guard lock(sweepersMutex_);
    if (shutDown_ || cacheSweeper_) return;
    cacheSweeper_ = std::make_unique<TPeriodicTask>(CacheSweepInterval, [this] { SweepCache(); });
    sessionSweeper_ =
        std::make_unique<TPeriodicTask>(SessionSweepInterval, [this] { SweepSessions(); });
}

void TIWServerControllerBase::Shutdown() {
    std::unique_ptr<TPeriodicTask> cacheSweeper, sessionSweeper;
    {
        std::lock_guard lock(sweepersMutex_);
        shutDown_ = true;
        cacheSweeper = std::move(cacheSweeper_);
        sessionSweeper = std::move(sessionSweeper_);
    }
    sessions_.Close();
    if (cacheSweeper) cacheSweeper->Stop();
    if (sessionSweeper) sessionSweeper->Stop();
}

std::size_t TIWServerControllerBase::SessionCount() const {
    return sessions_.Count();
}

int TIWServerControllerBase::SweepSessions() {
    return sessions_.Sweep(clock_->Now() - std::chrono::minutes(SessionTimeout));
}

std::string TIWServerControllerBase::Exec() const {
    return ExecCmd.empty() ? std::string("EXEC") : ExecCmd;
}

Response TIWServerControllerBase::Message(const Request& request, const std::string& message,
                                          int status) const {
    return MessagePage(Description, request.BasePath, message, status);
}

Response TIWServerControllerBase::Busy(const Request& request, const std::string& message) const {
    Response response = Message(request, message, 503);
    response.Headers.emplace_back("Retry-After", std::to_string(RetryAfter.count()));
    return response;
}

Response TIWServerControllerBase::HandlePage(const Request& request) {
    if (sessions_.Closed()) return Message(request, "The application is shutting down.", 503);
    // "/<ExecCmd>/<counter>/<id>" names a session; anything else starts one.
    const std::string& path = request.Path;
    const std::string head = "/" + Exec();
    const bool execPath = path.size() >= head.size() &&
                          strncasecmp(path.c_str(), head.c_str(), head.size()) == 0 &&
                          (path.size() == head.size() || path[head.size()] == '/');
    if (!execPath) return NewSession(request);

    const std::string rest = path.substr(std::min(path.size(), head.size() + 1));
    const std::size_t slash = rest.find('/');
    const std::string counter = slash == std::string::npos ? std::string() : rest.substr(0, slash);
    const std::string id = slash == std::string::npos ? std::string() : rest.substr(slash + 1);
    if (!AllDigits(counter) || !IsSessionId(id)) return Message(request, SessionNotFound);

    std::unique_ptr<TIWApplication> taken;
    try {
        taken = sessions_.Take(id);
    } catch (const Exception& e) {
        return Busy(request, e.Message);
    }
    if (!taken) return Message(request, SessionNotFound);
    TSessionTable::Lease session(sessions_, std::move(taken));
    if (BrowserFamily(request.Header("user-agent")) != (*session).Browser)
        return Message(request, BrowserMismatch);
    const TWorkGate::Pass pass(gate_);
    return ServeSession(*session, request, counter);
}

Response TIWServerControllerBase::NewSession(const Request& request) {
    const TSessionTable::Limits limits{
        MaxSessions,
        MaxSessionsPerClient ? MaxSessionsPerClient : std::max<std::size_t>(1, MaxSessions / 16)};
    auto session = std::make_unique<TIWApplication>();
    session->Browser = BrowserFamily(request.Header("user-agent"));
    session->Client = ClientOf(request.RemoteAddr);
    TFormFactory mainForm = mainForm_;
    if (OnNewSession) OnNewSession(*this, *session, mainForm);
    session->MainForm = mainForm(*session);
    // The session is added taken, so that no other request uses it while its first page is
    // written.
    if (!sessions_.Add(*session, limits)) return Busy(request, ServerBusy);
    TSessionTable::Lease lease(sessions_, std::move(session));
    return RenderPage(*lease, request, {});
}

Response TIWServerControllerBase::ServeSession(TIWApplication& session, const Request& request,
                                               const std::string& counter) {
    if (counter != std::to_string(session.Counter)) {
        // A reload or a post from an old page: nothing of it is applied.
        return RenderPage(session, request, ShowResyncWarning ? ResyncWarning : "");
    }
    std::string alert;
    if (request.Method == "POST") {
        session.Posted = true;
        try {
            ApplyPost(*session.MainForm, request);
        } catch (const EAbort&) {
        } catch (const Exception& e) {
            if (OnException) OnException(session, e);
            alert = e.Message;
        }
    }
    return RenderPage(session, request, alert);
}

void TIWServerControllerBase::ApplyPost(TIWAppForm& form, const Request& request) {
    const std::string type = request.Header("content-type");
    if (!type.empty() && strncasecmp(type.c_str(), "application/x-www-form-urlencoded",
                                     std::strlen("application/x-www-form-urlencoded")) != 0)
        throw Exception("The form was sent in an encoding this application does not read.");
    std::string action, param, refused;
    for (const auto& [name, value] : ParseFormUrlEncoded(request.Body)) {
        if (name == "IW_Action") {
            action = value;
        } else if (name == "IW_ActionParam") {
            param = value;
        } else if (TIWControl* control = form.FindControl(name)) {
            try {
                control->ApplyPostedValue(value);
            } catch (const Exception& e) {
                if (refused.empty()) refused = e.Message;
            }
        }
    }
    // A refused value leaves its control as it was; the event would run on a stale value.
    if (!refused.empty()) throw Exception(refused);
    if (action.empty()) {
        form.DefaultAction();
        return;
    }
    TIWControl* control = form.FindControl(action);
    if (!control) throw Exception("Cannot find submit component.");
    if (!control->OnClick)
        throw Exception(Format("Submit control (%s) does not have a handler.", control->Name));
    control->OnClick(*control);
}

Response TIWServerControllerBase::RenderPage(TIWApplication& session, const Request& request,
                                             const std::string& alert) {
    // The counter moves only with a page that went out whole: when the page cannot be made
    // (its picture cannot be stored), the same post can simply be sent again.
    const unsigned long next = session.Counter + 1;
    const std::string sessionPath = request.BasePath + "/" + Exec() + "/";
    TIWAppForm& form = *session.MainForm;
    std::vector<TPictureCache::TPin> shown;
    TRenderContext context;
    context.StorePicture = [&](const std::string& jpeg) {
        shown.push_back(cache_.Store(jpeg, CacheQuota));
        return request.BasePath + "/cache/" + shown.back().Name();
    };
    Response page;
    try {
        // What fails to settle stays unsettled and settles with the next page.
        form.Settle();
        page =
            FormPage({form, form.Title.empty() ? Description : form.Title,
                      sessionPath + std::to_string(next) + "/" + session.Id, HistoryEnabled, alert},
                     context);
    } catch (const Exception& e) {
        for (auto& pin : shown) cache_.Discard(std::move(pin));
        const bool stop = !e.Message.empty() && e.Message.back() == '.';
        Response failed = MessagePage(
            Description, request.BasePath,
            "The page could not be made: " + e.Message + (stop ? " " : ". ") + "Please try again.",
            503, {sessionPath + std::to_string(session.Counter) + "/" + session.Id, "Try again"});
        failed.Headers.emplace_back("Retry-After", std::to_string(RetryAfter.count()));
        return failed;
    }
    session.Counter = next;
    session.Shown = std::move(shown);  // the previous page's pictures may go now
    return page;
}

Response TIWServerControllerBase::HandlePicture(std::string_view name) {
    Response response;
    if (auto path = cache_.Find(name)) {
        response.ContentType = "image/jpeg";
        response.FilePath = path->string();
        response.Headers.emplace_back("Cache-Control", "private, max-age=600");
        response.Headers.emplace_back("X-Content-Type-Options", "nosniff");
    } else {
        response.Status = 404;
        response.ContentType = "text/plain; charset=iso-8859-1";
        response.Body = "Not Found\n";
    }
    return response;
}

}  // namespace ribbon::web
