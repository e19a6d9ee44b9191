#include "web/Pages.h"

#include "base/Format.h"
#include "web/Escape.h"

namespace ribbon::web {

namespace {

// The pages change with every request and belong to one session.
void NoStore(Response& response) {
    response.Headers.emplace_back("Cache-Control", "no-store");
    response.Headers.emplace_back("X-Content-Type-Options", "nosniff");
    response.Headers.emplace_back("X-Frame-Options", "DENY");
}

}  // namespace

Response FormPage(const TFormPage& page, const TRenderContext& context) {
    const TIWAppForm& form = page.Form;
    std::string html;
    html.reserve(16 * 1024);
    html +=
        "<!DOCTYPE html>\n<html>\n<head>\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\n"
        "<title>" +
        HtmlEscape(page.Title) + "</title>\n<script>\n";
    if (!page.HistoryEnabled) html += "history.go(1);\n";
    html +=
        "function IWSubmit(action, param) {\n"
        "  var f = document.getElementById('SubmitForm');\n"
        "  f.IW_Action.value = action;\n"
        "  f.IW_ActionParam.value = param;\n"
        "  f.submit();\n"
        "}\n</script>\n</head>\n"
        "<body style=\"margin:0;background-attachment:scroll;\">\n"
        "<form id=\"SubmitForm\" name=\"SubmitForm\" method=\"post\" "
        "accept-charset=\"ISO-8859-1\" action=\"" +
        HtmlEscape(page.Action) + "\"" +
        Format(" style=\"position:relative;margin:0;width:%dpx;height:%dpx;\">\n", form.Width,
               form.Height) +
        "<input type=\"hidden\" name=\"IW_Action\" id=\"IW_Action\" value=\"\">\n"
        "<input type=\"hidden\" name=\"IW_ActionParam\" id=\"IW_ActionParam\" value=\"\">\n";
    for (const auto& control : form.Controls()) control->Render(html, context);
    html += "</form>\n";
    if (!page.Alert.empty())
        html += "<script>\nwindow.alert(\"" + JsEscape(page.Alert) + "\");\n</script>\n";
    html += "</body>\n</html>\n";

    Response response;
    response.Body = std::move(html);
    NoStore(response);
    return response;
}

Response MessagePage(const std::string& description, const std::string& basePath,
                     const std::string& message, int status, const TLink& link) {
    const std::string url = link.Url.empty() ? basePath + "/" : link.Url;
    const std::string text = link.Text.empty() ? "Start a new session" : link.Text;
    Response response;
    response.Status = status;
    response.Body =
        "<!DOCTYPE html>\n<html>\n<head>\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\n"
        "<title>" +
        HtmlEscape(description) + "</title>\n</head>\n<body>\n<h1>" + HtmlEscape(description) +
        "</h1>\n<p id=\"message\">" + HtmlEscape(message) + "</p>\n<p><a href=\"" +
        HtmlEscape(url) + "\">" + HtmlEscape(text) + "</a></p>\n</body>\n</html>\n";
    NoStore(response);
    return response;
}

}  // namespace ribbon::web
