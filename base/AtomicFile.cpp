#include "base/AtomicFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/Exceptions.h"
#include "base/Format.h"

namespace ribbon {

void WriteFileAtomically(const std::string& FileName, std::string_view Data) {
    const auto slash = FileName.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : FileName.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? FileName : FileName.substr(slash + 1);
    auto fail = [&](const std::string& temp) {
        const int error = errno;
        if (!temp.empty()) unlink(temp.c_str());
        throw EFileError(Format("Cannot write file \"%s\". %s", FileName, std::strerror(error)));
    };
    if (base.empty()) {
        errno = EISDIR;
        fail("");
    }
    std::string temp = (slash == std::string::npos ? "" : dir) + "." + base + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) fail("");
    // mkstemp makes the file private; a finished file gets the mode of any new file.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    for (std::size_t written = 0; written < Data.size();) {
        const ssize_t n = write(fd, Data.data() + written, Data.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : EIO;
            close(fd);
            errno = error;
            fail(temp);
        }
        written += static_cast<std::size_t>(n);
    }
    if (close(fd) != 0) fail(temp);
    if (std::rename(temp.c_str(), FileName.c_str()) != 0) fail(temp);
}

}  // namespace ribbon
