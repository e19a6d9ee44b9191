#pragma once
// The pages the server controller writes: the form page of a session (with an optional alert,
// such as the resync warning) and the message pages (errors, session not found).

#include <string>

#include "web/AppForm.h"
#include "web/Controls.h"
#include "web/Http.h"

namespace ribbon::web {

inline constexpr const char* ResyncWarning =
    "You have attempted to post or refresh data from a page that  depends on information that "
    "is no longer available to the server application.\r\n\r\nYour attempted changes will be "
    "ignored. You will now be resynced to the current place in the application.";
inline constexpr const char* SessionNotFound = "Session not found. Session may have expired.";
inline constexpr const char* BrowserMismatch =
    "Security Exception: The browser you are using is different than the one that is assigned "
    "to the specified session.";

struct TFormPage {
    const TIWAppForm& Form;
    std::string Title;   // the form's title, or the application's description without one
    std::string Action;  // where the form posts to
    bool HistoryEnabled = false;
    std::string Alert;  // shown with window.alert when not empty
};

Response FormPage(const TFormPage& page, const TRenderContext& context);

inline constexpr const char* ServerBusy =
    "Server busy: too many sessions are open. Please try again shortly.";

// A link on a message page.
struct TLink {
    std::string Url;
    std::string Text;
};

// A page with the application's description, the message and a link: by default to a new
// session under basePath.
Response MessagePage(const std::string& description, const std::string& basePath,
                     const std::string& message, int status = 200, const TLink& link = {});

}  // namespace ribbon::web
