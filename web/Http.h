#pragma once
// The request and response of the web application framework, free of any server. The Apache
// glue (webdemo/) converts the server's request record into a Request, hands it to
// Application::handle and writes the Response back through the server's API; the tests call
// handle directly.

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace ribbon::web {

struct Request {
    std::string Method;    // "GET", "POST", ...
    std::string BasePath;  // where the application is mounted, without trailing "/" ("/ribbon")
    std::string
        Path;  // the rest of the URL path below BasePath, starting with "/" ("/" at the root)
    std::string Query;                           // the raw query string, without "?"
    std::map<std::string, std::string> Headers;  // names in lower case
    std::string Body;  // the raw request body (application/x-www-form-urlencoded for posts)
    std::string RemoteAddr;

    std::string Header(const std::string& lowerName) const {
        auto it = Headers.find(lowerName);
        return it == Headers.end() ? std::string() : it->second;
    }
};

struct Response {
    int Status = 200;
    std::string ContentType = "text/html; charset=iso-8859-1";
    std::vector<std::pair<std::string, std::string>> Headers;  // extra headers
    std::string Body;
    // When set, the body is this file's content (a cached picture); the glue streams it.
    std::string FilePath;
};

// Largest request body the application accepts; the glue refuses larger ones with 413.
inline constexpr std::size_t MaxRequestBody = 64 * 1024;

class Application {
  public:
    virtual ~Application() = default;
    virtual Response handle(const Request& request) = 0;
};

}  // namespace ribbon::web
