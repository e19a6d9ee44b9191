#include "web/ServerControllerBase.h"

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "runtime/Exceptions.h"
#include "runtime/Format.h"
#include "web/Escape.h"
#include "web/FormData.h"
#include "web/SessionId.h"

namespace ribbon::web {

namespace {
// How long a request waits for another request of the same session to finish.
constexpr std::chrono::seconds BusyWait{30};

bool AllDigits(std::string_view text) {
    if (text.empty() || text.size() > 18) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

void NoStore(Response& response) {
    response.Headers.emplace_back("Cache-Control", "no-store");
    response.Headers.emplace_back("X-Content-Type-Options", "nosniff");
    response.Headers.emplace_back("X-Frame-Options", "DENY");
}
}  // namespace

// Holds a session taken out of the list and puts it back however the request ends.
class TIWServerControllerBase::Lease {
  public:
    Lease(TIWServerControllerBase& owner, std::unique_ptr<TIWApplication> session)
        : owner_(owner), session_(std::move(session)) {}
    ~Lease() {
        if (session_) owner_.ReturnSession(std::move(session_));
    }
    TIWApplication& operator*() { return *session_; }

  private:
    TIWServerControllerBase& owner_;
    std::unique_ptr<TIWApplication> session_;
};

TIWServerControllerBase::TIWServerControllerBase(const std::string& moduleDir,
                                                 TFormFactory mainForm,
                                                 std::shared_ptr<Clock> clock)
    : moduleDir_(moduleDir),
      mainForm_(std::move(mainForm)),
      clock_(std::move(clock)),
      cache_(std::filesystem::path(moduleDir) / "Cache") {
    cache_.Sweep(clock_->Now());
}

TIWServerControllerBase::~TIWServerControllerBase() {
    Shutdown();
}

void TIWServerControllerBase::StartSweepers() {
    std::lock_guard lock(mutex_);
    if (shutDown_ || cacheSweeper_) return;
    cacheSweeper_ = std::make_unique<TPeriodicTask>(CacheSweepInterval, [this] { SweepCache(); });
    sessionSweeper_ =
        std::make_unique<TPeriodicTask>(SessionSweepInterval, [this] { SweepSessions(); });
}

void TIWServerControllerBase::Shutdown() {
    std::unique_ptr<TPeriodicTask> cacheSweeper, sessionSweeper;
    std::vector<std::unique_ptr<TIWApplication>> ended;
    {
        std::lock_guard lock(mutex_);
        shutDown_ = true;
        cacheSweeper = std::move(cacheSweeper_);
        sessionSweeper = std::move(sessionSweeper_);
        for (auto it = sessions_.begin(); it != sessions_.end();) {
            if (it->second.Session) {
                ended.push_back(std::move(it->second.Session));
                it = sessions_.erase(it);
            } else {
                it->second.Ended = true;
                ++it;
            }
        }
    }
    returned_.notify_all();
    if (cacheSweeper) cacheSweeper->Stop();
    if (sessionSweeper) sessionSweeper->Stop();
    // The forms are freed here, outside the lock.
}

std::size_t TIWServerControllerBase::SessionCount() const {
    std::lock_guard lock(mutex_);
    return sessions_.size();
}

int TIWServerControllerBase::SweepSessions() {
    const TimePoint limit = clock_->Now() - std::chrono::minutes(SessionTimeout);
    std::vector<std::unique_ptr<TIWApplication>> ended;
    {
        std::lock_guard lock(mutex_);
        for (auto it = sessions_.begin(); it != sessions_.end();) {
            // A session in use is out of the list; its request renews it when it ends.
            if (it->second.Session && it->second.Session->LastAccess <= limit) {
                ended.push_back(std::move(it->second.Session));
                it = sessions_.erase(it);
            } else {
                ++it;
            }
        }
    }
    return static_cast<int>(ended.size());
}

std::unique_ptr<TIWApplication> TIWServerControllerBase::TakeSession(const std::string& id) {
    std::unique_lock lock(mutex_);
    const auto deadline = std::chrono::steady_clock::now() + BusyWait;
    for (;;) {
        auto it = sessions_.find(id);
        if (it == sessions_.end() || it->second.Ended) return nullptr;
        if (it->second.Session) return std::move(it->second.Session);
        if (returned_.wait_until(lock, deadline) == std::cv_status::timeout)
            throw Exception("The session is busy with another request. Please try again.");
    }
}

void TIWServerControllerBase::ReturnSession(std::unique_ptr<TIWApplication> session) {
    std::unique_ptr<TIWApplication> ended;
    {
        std::lock_guard lock(mutex_);
        session->LastAccess = clock_->Now();
        auto it = sessions_.find(session->Id);
        if (it == sessions_.end() || it->second.Ended) {
            if (it != sessions_.end()) sessions_.erase(it);
            ended = std::move(session);
        } else {
            it->second.Session = std::move(session);
        }
    }
    returned_.notify_all();
}

Response TIWServerControllerBase::HandlePage(const Request& request) {
    {
        std::lock_guard lock(mutex_);
        if (shutDown_) return MessagePage(request, "The application is shutting down.", 503);
    }
    // "/<ExecCmd>/<counter>/<id>" names a session; anything else starts one.
    const std::string& path = request.Path;
    const std::string exec = ExecCmd.empty() ? std::string("EXEC") : ExecCmd;
    const std::string head = "/" + exec;
    const bool execPath = path.size() >= head.size() &&
                          strncasecmp(path.c_str(), head.c_str(), head.size()) == 0 &&
                          (path.size() == head.size() || path[head.size()] == '/');
    if (!execPath) return NewSession(request);

    const std::string rest = path.substr(std::min(path.size(), head.size() + 1));
    const std::size_t slash = rest.find('/');
    const std::string counter = slash == std::string::npos ? std::string() : rest.substr(0, slash);
    const std::string id = slash == std::string::npos ? std::string() : rest.substr(slash + 1);
    if (!AllDigits(counter) || !IsSessionId(id)) return MessagePage(request, SessionNotFound);

    std::unique_ptr<TIWApplication> taken;
    try {
        taken = TakeSession(id);
    } catch (const Exception& e) {
        return MessagePage(request, e.Message, 503);
    }
    if (!taken) return MessagePage(request, SessionNotFound);
    Lease session(*this, std::move(taken));
    if (BrowserFamily(request.Header("user-agent")) != (*session).Browser)
        return MessagePage(request, BrowserMismatch);
    return ServeSession(*session, request, counter);
}

Response TIWServerControllerBase::NewSession(const Request& request) {
    if (SessionCount() >= MaxSessions)
        return MessagePage(request, "Too many sessions are open. Please try again later.", 503);
    auto session = std::make_unique<TIWApplication>();
    session->Browser = BrowserFamily(request.Header("user-agent"));
    TFormFactory mainForm = mainForm_;
    if (OnNewSession) OnNewSession(*this, *session, mainForm);
    session->MainForm = mainForm(*session);
    {
        std::lock_guard lock(mutex_);
        if (sessions_.size() >= MaxSessions)
            return MessagePage(request, "Too many sessions are open. Please try again later.", 503);
        do {
            session->Id = NewSessionId();
        } while (sessions_.count(session->Id) != 0);
        // The slot is reserved (empty) while the first page is written.
        sessions_.emplace(session->Id, Slot{});
    }
    Lease lease(*this, std::move(session));
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
    ++session.Counter;
    const std::string exec = ExecCmd.empty() ? std::string("EXEC") : ExecCmd;
    const std::string action =
        request.BasePath + "/" + exec + "/" + std::to_string(session.Counter) + "/" + session.Id;
    const TIWAppForm& form = *session.MainForm;
    TRenderContext context;
    context.StorePicture = [&](const TBitmap& picture) {
        return request.BasePath + "/cache/" + cache_.Store(picture);
    };

    std::string html;
    html.reserve(16 * 1024);
    html +=
        "<!DOCTYPE html>\n<html>\n<head>\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\n"
        "<title>" +
        HtmlEscape(form.Title.empty() ? Description : form.Title) + "</title>\n<script>\n";
    if (!HistoryEnabled) html += "history.go(1);\n";
    html +=
        "function IWSubmit(action, param) {\n"
        "  var f = document.getElementById('SubmitForm');\n"
        "  f.IW_Action.value = action;\n"
        "  f.IW_ActionParam.value = param;\n"
        "  f.submit();\n"
        "}\n</script>\n</head>\n"
        "<body style=\"margin:0;background-attachment:scroll;\">\n"
        "<form id=\"SubmitForm\" name=\"SubmitForm\" method=\"post\" "
        "accept-charset=\"ISO-8859-1\" action=\"" +
        HtmlEscape(action) + "\"" +
        Format(" style=\"position:relative;margin:0;width:%dpx;height:%dpx;\">\n", form.Width,
               form.Height) +
        "<input type=\"hidden\" name=\"IW_Action\" id=\"IW_Action\" value=\"\">\n"
        "<input type=\"hidden\" name=\"IW_ActionParam\" id=\"IW_ActionParam\" value=\"\">\n";
    for (const auto& control : form.Controls()) control->Render(html, context);
    html += "</form>\n";
    if (!alert.empty()) html += "<script>\nwindow.alert(\"" + JsEscape(alert) + "\");\n</script>\n";
    html += "</body>\n</html>\n";

    Response response;
    response.Body = std::move(html);
    NoStore(response);
    return response;
}

Response TIWServerControllerBase::MessagePage(const Request& request, const std::string& message,
                                              int status) {
    Response response;
    response.Status = status;
    response.Body =
        "<!DOCTYPE html>\n<html>\n<head>\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\n"
        "<title>" +
        HtmlEscape(Description) + "</title>\n</head>\n<body>\n<h1>" + HtmlEscape(Description) +
        "</h1>\n<p id=\"message\">" + HtmlEscape(message) + "</p>\n<p><a href=\"" +
        HtmlEscape(request.BasePath + "/") + "\">Start a new session</a></p>\n</body>\n</html>\n";
    NoStore(response);
    return response;
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
