#pragma once
// The server controller of the barcode preview application, its per-session object and the
// start-up and shut-down of the whole application inside a host (the Apache module).

#include <string>

#include "web/Http.h"

namespace ribbon::webdemo {

// Runs the start-up of the application for a module whose directory is moduleDir (with a
// trailing '/'): creates the server controller (framework defaults, the "Cache" directory with
// missing parents, the immediate and periodic cache sweep, the settings), and the dispatcher.
// Raises ribbon::Exception on failure (the module writes it to its .err file).
//
// The sweeper threads belong to the calling process: a host that forks worker processes must
// call this in the worker, after the fork. Sessions live in one process, so the host must send
// every request to the same process.
web::Application& StartApplication(const std::string& moduleDir);

// Stops the sweeper threads and frees every session. Safe to call more than once.
void StopApplication();

}  // namespace ribbon::webdemo
