#pragma once
// The server controller of the barcode preview application, its per-session object and the
// start-up and shut-down of the whole application inside a host (the Apache module).

#include <memory>
#include <string>

#include "web/Http.h"
#include "web/ServerControllerBase.h"

namespace ribbon::webdemo {

// The per-session data object; it carries nothing yet.
class TUserSession : public web::TObject {};

// The controller with the preview application's settings; its main form is TformMain.
class TIWServerController : public web::TIWServerControllerBase {
  public:
    explicit TIWServerController(const std::string& moduleDir,
                                 std::shared_ptr<web::Clock> clock = web::SystemClock());
};

// Gives every new session its TUserSession; the main form stays TformMain.
void IWServerControllerBaseNewSession(web::TIWServerControllerBase& Sender,
                                      web::TIWApplication& ASession,
                                      web::TIWServerControllerBase::TFormFactory& VMainForm);

// Runs the start-up of the application for a module whose directory is moduleDir (with a
// trailing '/'): creates the server controller (framework defaults, the "Cache" directory with
// missing parents, the immediate and periodic cache sweep, the settings), and the dispatcher.
// The environment may set the limits: RIBBON_WEB_MAX_SESSIONS, RIBBON_WEB_MAX_SESSIONS_PER_CLIENT
// and RIBBON_WEB_CACHE_QUOTA_MB (whole numbers above 0).
// Raises ribbon::Exception on failure (the module writes it to its .err file). A second call
// while the application runs returns the running one.
//
// The sweeper threads belong to the calling process: a host that forks worker processes must
// call this in the worker, after the fork. Sessions live in one process, so the host must send
// every request to the same process.
web::Application& StartApplication(const std::string& moduleDir);

// Stops the sweeper threads and frees every session. Safe to call more than once.
void StopApplication();

}  // namespace ribbon::webdemo
