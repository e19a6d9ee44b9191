#include "cli/StandardOutput.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>

#include "base/Exceptions.h"
#include "base/Format.h"

namespace ribbon::cli {

namespace {

// SIGPIPE ignored while the guard lives, so that a reader gone away is an EPIPE to report.
class IgnoreBrokenPipe {
  public:
    IgnoreBrokenPipe() {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        sigaction(SIGPIPE, &ignore, &previous_);
    }
    ~IgnoreBrokenPipe() { sigaction(SIGPIPE, &previous_, nullptr); }
    IgnoreBrokenPipe(const IgnoreBrokenPipe&) = delete;
    IgnoreBrokenPipe& operator=(const IgnoreBrokenPipe&) = delete;

  private:
    struct sigaction previous_ {};
};

}  // namespace

void WriteStandardOutput(std::string_view Bytes) {
    // Anything the streams hold goes first, so the bytes keep their order.
    std::cout.flush();
    const IgnoreBrokenPipe guard;
    for (std::size_t written = 0; written < Bytes.size();) {
        const ssize_t n = write(STDOUT_FILENO, Bytes.data() + written, Bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : EIO;
            throw Exception(Format("Cannot write to standard output: %s.", std::strerror(error)));
        }
        written += static_cast<std::size_t>(n);
    }
}

}  // namespace ribbon::cli
