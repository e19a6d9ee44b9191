#pragma once
// Ctrl-C (SIGINT) and SIGTERM during a long run: the handler only raises a flag, so that the
// run stops between two records, finishes the file in hand and removes nothing half-written.

namespace ribbon::cli {

// Installs the handlers; the previous ones come back when the guard goes.
class InterruptGuard {
  public:
    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;
};

bool Interrupted();

}  // namespace ribbon::cli
