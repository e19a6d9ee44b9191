#include "web/Session.h"

#include <arpa/inet.h>

#include <algorithm>

namespace ribbon::web {

TBrowser BrowserFamily(std::string_view userAgent) {
    if (userAgent.find("MSIE ") != std::string_view::npos ||
        userAgent.find("Trident/") != std::string_view::npos)
        return brIE;
    return brNetscape6;
}

std::string ClientOf(std::string_view remoteAddr) {
    std::string text(remoteAddr.substr(0, 64));
    unsigned char v6[16];
    if (text.find(':') == std::string::npos || inet_pton(AF_INET6, text.c_str(), v6) != 1)
        return text;
    static constexpr unsigned char Mapped[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};
    char out[INET6_ADDRSTRLEN];
    if (std::equal(v6, v6 + 12, Mapped))  // an IPv4 client on an IPv6 socket
        return inet_ntop(AF_INET, v6 + 12, out, sizeof out) ? out : text;
    std::fill(v6 + 8, v6 + 16, 0);
    return std::string(inet_ntop(AF_INET6, v6, out, sizeof out) ? out : text.c_str()) + "/64";
}

}  // namespace ribbon::web
