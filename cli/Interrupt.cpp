#include "cli/Interrupt.h"

#include <csignal>

namespace ribbon::cli {

namespace {

volatile std::sig_atomic_t interrupted = 0;
struct sigaction previousInt, previousTerm;

void OnSignal(int) {
    interrupted = 1;
}

}  // namespace

InterruptGuard::InterruptGuard() {
    interrupted = 0;
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;  // writes in progress go on; the loop checks the flag
    sigaction(SIGINT, &action, &previousInt);
    sigaction(SIGTERM, &action, &previousTerm);
}

InterruptGuard::~InterruptGuard() {
    sigaction(SIGINT, &previousInt, nullptr);
    sigaction(SIGTERM, &previousTerm, nullptr);
}

bool Interrupted() {
    return interrupted != 0;
}

}  // namespace ribbon::cli
