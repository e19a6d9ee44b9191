#include "web/Session.h"

namespace ribbon::web {

TBrowser BrowserFamily(std::string_view userAgent) {
    if (userAgent.find("MSIE ") != std::string_view::npos ||
        userAgent.find("Trident/") != std::string_view::npos)
        return brIE;
    return brNetscape6;
}

}  // namespace ribbon::web
