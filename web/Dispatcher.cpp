#include "web/Dispatcher.h"

namespace ribbon::web {

namespace {
Response Refusal(int status, const std::string& text) {
    Response response;
    response.Status = status;
    response.ContentType = "text/plain; charset=iso-8859-1";
    response.Body = text + "\n";
    return response;
}
}  // namespace

Response TIWDispatcher::handle(const Request& request) {
    const bool head = request.Method == "HEAD";
    if (request.Method != "GET" && request.Method != "POST" && !head) {
        Response response = Refusal(405, "Method Not Allowed");
        response.Headers.emplace_back("Allow", "GET, HEAD, POST");
        return response;
    }
    if (request.Body.size() > MaxRequestBody) return Refusal(413, "Request Entity Too Large");

    constexpr std::string_view CachePrefix = "/cache/";
    if (request.Path.starts_with(CachePrefix)) {
        if (request.Method == "POST") return Refusal(405, "Method Not Allowed");
        // The glue sends only the headers of a HEAD.
        return controller_.HandlePicture(std::string_view(request.Path).substr(CachePrefix.size()));
    }
    // A page answers HEAD without touching a session: no session is made, no counter moves.
    if (head) return Response{};
    return controller_.HandlePage(request);
}

}  // namespace ribbon::web
