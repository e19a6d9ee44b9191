#include "web/SessionId.h"

#include <sys/random.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "base/Exceptions.h"

namespace ribbon::web {

std::string NewSessionId() {
    std::array<unsigned char, SessionIdLength / 2> bytes{};
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = getrandom(bytes.data() + got, bytes.size() - got, 0);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw Exception(std::string("Cannot read random bytes for a session: ") +
                            std::strerror(errno));
        }
        got += static_cast<std::size_t>(n);
    }
    static constexpr char Hex[] = "0123456789abcdef";
    std::string id;
    id.reserve(SessionIdLength);
    for (unsigned char b : bytes) {
        id += Hex[b >> 4];
        id += Hex[b & 0xF];
    }
    return id;
}

bool IsSessionId(std::string_view text) {
    if (text.size() != SessionIdLength) return false;
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

}  // namespace ribbon::web
