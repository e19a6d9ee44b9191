#pragma once
// The server controller: the application's settings, its session table and its picture cache,
// and the routing of page requests (new sessions, posts, stale posts, errors as alerts). The
// session table (SessionTable.h) and the pages it writes (Pages.h) live apart.

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "base/Exceptions.h"
#include "web/Clock.h"
#include "web/Http.h"
#include "web/Pages.h"
#include "web/Periodic.h"
#include "web/PictureCache.h"
#include "web/Session.h"
#include "web/SessionTable.h"
#include "web/WorkGate.h"

namespace ribbon::web {

enum TComInitialization : std::uint8_t { ciNone, ciNormal, ciMultiThreaded };
// Only URL tracking is implemented: the session is named in the path of every post.
enum TSessionTrackingMethod : std::uint8_t { tmURL };
enum TDestinationDevice : std::uint8_t { ddWeb };
// Only alerts are implemented: an error of an event handler comes back as window.alert.
enum TShowMessageMode : std::uint8_t { smAlert };

// A session cap for this machine: a sixteenth of its memory (or of the memory its control group
// may use) at 64 KB per session, within 1,000 to 10,000. The top keeps the current pictures of
// every session (about 12 KB each on disk) well inside the default picture cache quota.
std::size_t DefaultMaxSessions();

class TIWServerControllerBase {
  public:
    using TFormFactory = std::function<std::unique_ptr<TIWAppForm>(TIWApplication& session)>;
    using TNewSessionEvent = std::function<void(TIWServerControllerBase& Sender,
                                                TIWApplication& ASession, TFormFactory& VMainForm)>;
    using TExceptionEvent = std::function<void(TIWApplication& session, const Exception& error)>;

    static constexpr std::chrono::milliseconds CacheSweepInterval{15000};
    static constexpr std::chrono::milliseconds SessionSweepInterval{60000};
    // What a "server busy" page asks the browser to wait before trying again.
    static constexpr std::chrono::seconds RetryAfter{30};

    // Sets the framework defaults, creates "Cache" under moduleDir (with missing parents) and
    // sweeps it once. The periodic sweeps begin with StartSweepers.
    TIWServerControllerBase(const std::string& moduleDir, TFormFactory mainForm,
                            std::shared_ptr<Clock> clock = SystemClock());
    virtual ~TIWServerControllerBase();

    // Settings. Change them before the first request.
    std::string AppName;
    std::string Description;
    TComInitialization ComInitialization = ciNone;
    TSessionTrackingMethod SessionTrackingMethod = tmURL;
    TDestinationDevice DestinationDevice = ddWeb;
    TShowMessageMode ExceptionDisplayMode = smAlert;
    std::string ExecCmd = "EXEC";
    bool HistoryEnabled = false;
    int Port = 0;
    int SSLPort = 0;
    bool RestrictIPs = false;
    bool ShowResyncWarning = true;
    int SessionTimeout = 10;  // minutes
    std::set<TBrowser> SupportedBrowsers{brIE, brNetscape6};
    // Live sessions beyond this are refused with the "server busy" page (status 503), so a
    // flood of new-session requests cannot exhaust memory. Sized to the machine by default.
    std::size_t MaxSessions = DefaultMaxSessions();
    // The most sessions one client (see ClientOf) may hold; 0 gives a sixteenth of
    // MaxSessions. A client at its share that asks for another session loses its own oldest
    // session that never posted, so one client cannot fill the table.
    std::size_t MaxSessionsPerClient = 0;
    // Bytes the picture cache may take on disk; the oldest pictures no page shows go first.
    std::uintmax_t CacheQuota = TPictureCache::DefaultQuota;
    TNewSessionEvent OnNewSession;
    TExceptionEvent OnException;

    const std::string& ModuleDir() const { return moduleDir_; }
    TPictureCache& Cache() { return cache_; }
    Clock& Time() const { return *clock_; }

    // Starts the cache sweep (every 15 s) and the session timeout (every 60 s) threads.
    void StartSweepers();
    // Stops the threads and frees every idle session; a session in use is freed when its
    // request ends. Later requests are refused. Safe to call more than once.
    void Shutdown();

    // One request for a page: Path is "/" or anything else for a new session, or
    // "/<ExecCmd>/<counter>/<session id>".
    Response HandlePage(const Request& request);
    // One request for a picture: name is the part after "/cache/".
    Response HandlePicture(std::string_view name);

    // Ends every session whose last access is SessionTimeout minutes or more before now;
    // returns how many ended.
    int SweepSessions();
    int SweepCache() { return cache_.Sweep(clock_->Now()); }
    std::size_t SessionCount() const;

  private:
    Response NewSession(const Request& request);
    Response ServeSession(TIWApplication& session, const Request& request,
                          const std::string& counter);
    void ApplyPost(TIWAppForm& form, const Request& request);
    Response RenderPage(TIWApplication& session, const Request& request, const std::string& alert);
    Response Message(const Request& request, const std::string& message, int status = 200) const;
    Response Busy(const Request& request, const std::string& message) const;
    std::string Exec() const;  // ExecCmd, "EXEC" when empty

    std::string moduleDir_;
    TFormFactory mainForm_;
    std::shared_ptr<Clock> clock_;
    TPictureCache cache_;
    TSessionTable sessions_;
    // A request of a session draws and encodes inside the gate, one per core.
    TWorkGate gate_;

    std::mutex sweepersMutex_;
    bool shutDown_ = false;
    std::unique_ptr<TPeriodicTask> cacheSweeper_;
    std::unique_ptr<TPeriodicTask> sessionSweeper_;
};

}  // namespace ribbon::web
