#pragma once
// One browser session: its identity, its page counter and the objects it owns.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "web/AppForm.h"
#include "web/Clock.h"
#include "web/PictureCache.h"

namespace ribbon::web {

// The root of the objects a session carries for the application (its data object).
class TObject {
  public:
    virtual ~TObject() = default;
};

enum TBrowser : std::uint8_t { brIE, brNetscape6 };

// The family a User-Agent belongs to: Internet Explorer, or the Netscape 6 line (every
// Gecko, WebKit and Blink browser, and anything unknown).
TBrowser BrowserFamily(std::string_view userAgent);

// The client a remote address stands for when sessions are counted per client: the address
// itself for IPv4, its /64 network for IPv6 (one host commonly holds a whole /64).
std::string ClientOf(std::string_view remoteAddr);

class TIWApplication {
  public:
    std::string Id;
    // Pages sent so far; a post must carry the current value.
    unsigned long Counter = 0;
    TBrowser Browser = brNetscape6;
    TimePoint LastAccess;
    std::string Client;  // see ClientOf
    // Whether a post of the session's current page was ever applied.
    bool Posted = false;
    // The pictures of the page last sent; the cache keeps them while the session lives.
    std::vector<TPictureCache::TPin> Shown;
    std::unique_ptr<TIWAppForm> MainForm;
    std::unique_ptr<TObject> Data;
};

}  // namespace ribbon::web
