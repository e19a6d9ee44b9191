#pragma once
// Drives an Application the way a browser does: keeps the post-back URL of the last page and
// sends form posts to it. Shared by the framework and the preview form tests.

#include <chrono>
#include <filesystem>
#include <random>
#include <regex>
#include <string>

#include "web/Clock.h"
#include "web/Http.h"

namespace ribbon::testing {

class FakeClock : public web::Clock {
  public:
    web::TimePoint Now() const override { return now_; }
    void Advance(std::chrono::seconds by) { now_ += by; }

  private:
    web::TimePoint now_ = std::chrono::system_clock::now();
};

// A fresh directory under the system's temporary directory, removed at the end of the test.
class TempDir {
  public:
    TempDir() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("ribbon-web-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& Path() const { return path_; }
    // The directory as a module directory: with a trailing '/'.
    std::string ModuleDir() const { return path_.string() + "/"; }

  private:
    std::filesystem::path path_;
};

inline constexpr const char* ChromeAgent =
    "Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/120.0 "
    "Safari/537.36";
inline constexpr const char* IEAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)";

inline web::Request MakeRequest(const std::string& method, const std::string& path,
                                const std::string& body = {},
                                const std::string& agent = ChromeAgent,
                                const std::string& remote = "127.0.0.1") {
    web::Request request;
    request.Method = method;
    request.BasePath = "/ribbon";
    request.Path = path;
    request.Body = body;
    request.Headers["user-agent"] = agent;
    if (method == "POST") request.Headers["content-type"] = "application/x-www-form-urlencoded";
    request.RemoteAddr = remote;
    return request;
}

class PageClient {
  public:
    explicit PageClient(web::Application& app, std::string agent = ChromeAgent,
                        std::string remote = "127.0.0.1")
        : app_(app), agent_(std::move(agent)), remote_(std::move(remote)) {}

    // Opens the page: a new session.
    web::Response Open() {
        return Remember(app_.handle(MakeRequest("GET", "/", {}, agent_, remote_)));
    }

    // Posts the form body to the URL of the last page.
    web::Response Post(const std::string& body) {
        return Remember(app_.handle(MakeRequest("POST", path_, body, agent_, remote_)));
    }
    web::Response PostTo(const std::string& path, const std::string& body) {
        return app_.handle(MakeRequest("POST", path, body, agent_, remote_));
    }

    // The post-back path below the base path ("/EXEC/<counter>/<id>") of the last page.
    const std::string& PostPath() const { return path_; }
    std::string SessionId() const { return path_.substr(path_.rfind('/') + 1); }

  private:
    web::Response Remember(web::Response response) {
        static const std::regex action(R"re(action="/ribbon(/EXEC/\d+/[0-9a-f]{24})")re");
        std::smatch match;
        if (std::regex_search(response.Body, match, action)) path_ = match[1];
        return response;
    }

    web::Application& app_;
    std::string agent_;
    std::string remote_;
    std::string path_;
};

// The argument of the page's window.alert, still escaped; empty when the page has no alert.
inline std::string AlertOf(const std::string& page) {
    const std::string head = "window.alert(\"";
    const auto start = page.find(head);
    if (start == std::string::npos) return {};
    const auto end = page.find("\");", start);
    return page.substr(start + head.size(), end - start - head.size());
}

}  // namespace ribbon::testing
