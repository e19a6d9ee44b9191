// The Apache 2.4 module entry: the exported module record, hook registration, start-up and the
// content handler that turns the server's request record into a web::Request and writes the
// application's web::Response back through the server's API.
//
// Apache loads a module once per configuration pass in the parent (again on every graceful
// restart) and forks the serving child from that parent. Threads do not survive a fork. So:
//  - loading (a constructor, before the server reads the record) only works out the names;
//  - the first hook callback (hook registration, after all of the module's static objects exist)
//    runs the start-up in full, which is where a failure is reported to the ".err" file, and then
//    stops it again; post_config then refuses to let the server start with a failed module;
//  - the serving child starts the application for real in child_init, so its sessions and
//    sweeper threads live in the process that serves, running as the server's user.

#include <dlfcn.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>

// clang-format off
// httpd.h first: the other server headers build on its types.
#include "httpd.h"
#include "http_config.h"
#include "http_core.h"
#include "http_log.h"
#include "http_protocol.h"
#include "unixd.h"
#include "apr_strings.h"
// clang-format on

#include "base/Exceptions.h"
#include "web/Http.h"
#include "webdemo/ServerController.h"
#include "webdemo/apache/ModuleIdentity.h"

namespace ribbon::webdemo::apache {
void RegisterHooks(apr_pool_t* pool);
}

extern "C" {
__attribute__((visibility("default"))) module AP_MODULE_DECLARE_DATA ribbonweb_module = {
    STANDARD20_MODULE_STUFF,
    nullptr,  // create per-directory configuration
    nullptr,  // merge per-directory configuration
    nullptr,  // create per-server configuration
    nullptr,  // merge per-server configuration
    nullptr,  // no configuration directives
    ribbon::webdemo::apache::RegisterHooks,
    AP_MODULE_FLAG_NONE,
};
APLOG_USE_MODULE(ribbonweb);
}

namespace ribbon::webdemo::apache {
namespace {

struct ModuleState {
    std::string ModuleFile;
    std::string ModuleDir;
    std::string HandlerName;
    std::string RecordName;
    std::string ErrorFile;
    std::string StartupError;  // set when start-up failed in this process
    web::Application* Application = nullptr;
    pid_t ServingPid = 0;  // the process whose application is running
};

ModuleState& State() {
    static ModuleState state;
    return state;
}

std::string ReadLink(const char* path) {
    char buffer[4096];
    ssize_t n = readlink(path, buffer, sizeof buffer - 1);
    return n <= 0 ? std::string() : std::string(buffer, static_cast<std::size_t>(n));
}

// The message of a caught exception. The error page shows only the messages of the general
// error class; a start-up report names whatever stopped it.
std::string ExceptionMessage(std::exception_ptr error, std::string* className = nullptr,
                             bool anyMessage = false) {
    try {
        std::rethrow_exception(error);
    } catch (const Exception& e) {
        if (className) *className = ExceptionClassName(typeid(e));
        return e.Message;
    } catch (const std::exception& e) {
        if (className) *className = ExceptionClassName(typeid(e));
        return anyMessage ? std::string(e.what()) : std::string();
    } catch (...) {
        if (className) *className = "Exception";
        return std::string();
    }
}

// ---- request glue -------------------------------------------------------------------------

int CollectHeader(void* target, const char* name, const char* value) {
    std::string key(name ? name : "");
    for (auto& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    static_cast<web::Request*>(target)->Headers[key] = value ? value : "";
    return 1;
}

// The <Location> the handler is configured for is the application's base path. The core keeps
// the path of the last section merged into the request's configuration; a location section is
// merged last, so that is ours when it prefixes the URI. Otherwise the path info split decides.
void SplitPath(request_rec* r, web::Request& request) {
    std::string uri = r->uri && *r->uri ? r->uri : "/";
    std::optional<std::string> base;
    auto* core = static_cast<core_dir_config*>(ap_get_core_module_config(r->per_dir_config));
    if (core && core->d && !core->r && core->d[0] == '/') {
        std::string location = core->d;
        while (!location.empty() && location.back() == '/') location.pop_back();
        if (uri.compare(0, location.size(), location) == 0 &&
            (uri.size() == location.size() || uri[location.size()] == '/'))
            base = location;  // "" when mounted at the server's root
    }
    if (!base && r->path_info && *r->path_info) {
        std::string info = r->path_info;
        if (uri.size() >= info.size() &&
            uri.compare(uri.size() - info.size(), info.size(), info) == 0)
            base = uri.substr(0, uri.size() - info.size());
    }
    if (!base) base = uri;
    while (!base->empty() && base->back() == '/') base->pop_back();
    request.BasePath = *base;
    request.Path = uri.size() > base->size() ? uri.substr(base->size()) : "/";
}

// Reads the body through the server, refusing more than web::MaxRequestBody bytes. Returns OK
// or the HTTP status to answer with.
int ReadBody(request_rec* r, std::string& body) {
    int rc = ap_setup_client_block(r, REQUEST_CHUNKED_DECHUNK);
    if (rc != OK) return rc;
    if (!ap_should_client_block(r)) return OK;
    if (r->remaining > static_cast<apr_off_t>(web::MaxRequestBody))
        return HTTP_REQUEST_ENTITY_TOO_LARGE;
    char buffer[8192];
    for (;;) {
        long n = ap_get_client_block(r, buffer, sizeof buffer);
        if (n == 0) return OK;
        if (n < 0) return HTTP_BAD_REQUEST;
        if (body.size() + static_cast<std::size_t>(n) > web::MaxRequestBody)
            return HTTP_REQUEST_ENTITY_TOO_LARGE;
        body.append(buffer, static_cast<std::size_t>(n));
    }
}

void WriteBody(request_rec* r, const std::string& contentType, const std::string& body) {
    ap_set_content_type(r, apr_pstrdup(r->pool, contentType.c_str()));
    ap_set_content_length(r, static_cast<apr_off_t>(body.size()));
    if (!r->header_only) ap_rwrite(body.data(), static_cast<int>(body.size()), r);
}

int SendFile(request_rec* r, const web::Response& response) {
    apr_file_t* file = nullptr;
    apr_finfo_t info;
    if (apr_file_open(&file, response.FilePath.c_str(), APR_READ | APR_BINARY, APR_OS_DEFAULT,
                      r->pool) != APR_SUCCESS ||
        apr_file_info_get(&info, APR_FINFO_SIZE | APR_FINFO_TYPE, file) != APR_SUCCESS ||
        info.filetype != APR_REG) {
        // Swept between the page and the fetch, or never there.
        r->status = HTTP_NOT_FOUND;
        WriteBody(r, "text/html; charset=iso-8859-1",
                  "<html><body><h1>Not Found</h1></body></html>\r\n");
        return OK;
    }
    ap_set_content_type(r, apr_pstrdup(r->pool, response.ContentType.c_str()));
    ap_set_content_length(r, info.size);
    if (!r->header_only) {
        apr_size_t sent = 0;
        ap_send_fd(file, r, 0, static_cast<apr_size_t>(info.size), &sent);
    }
    return OK;
}

int WriteResponse(request_rec* r, const web::Response& response) {
    r->status = response.Status;
    for (const auto& [name, value] : response.Headers) {
        if (strcasecmp(name.c_str(), "Content-Length") == 0) continue;  // the server computes it
        if (strcasecmp(name.c_str(), "Content-Type") == 0) continue;
        apr_table_add(r->headers_out, apr_pstrdup(r->pool, name.c_str()),
                      apr_pstrdup(r->pool, value.c_str()));
    }
    if (!response.FilePath.empty()) return SendFile(r, response);
    WriteBody(r, response.ContentType, response.Body);
    return OK;
}

int ContentHandler(request_rec* r) {
    auto& state = State();
    if (!r->handler || state.HandlerName.empty() ||
        strcasecmp(r->handler, state.HandlerName.c_str()) != 0)
        return DECLINED;
    try {
        if (!state.Application)
            throw Exception(state.StartupError.empty() ? "The application is not running."
                                                       : state.StartupError);

        web::Request request;
        request.Method = r->method ? r->method : "GET";
        SplitPath(r, request);
        request.Query = r->args ? r->args : "";
        request.RemoteAddr = r->useragent_ip ? r->useragent_ip : "";
        apr_table_do(CollectHeader, &request, r->headers_in, nullptr);
        int rc = ReadBody(r, request.Body);
        if (rc != OK) return rc;

        return WriteResponse(r, state.Application->handle(request));
    } catch (...) {
        std::string className;
        std::string message = ExceptionMessage(std::current_exception(), &className);
        r->status = HTTP_INTERNAL_SERVER_ERROR;
        apr_table_clear(r->headers_out);
        WriteBody(r, "text/html", InternalErrorPage(className, message));
        return OK;
    }
}

// ---- start-up -----------------------------------------------------------------------------

void ReportStartupFailure(const std::string& message) {
    auto& state = State();
    state.StartupError = message;
    bool written = !state.ErrorFile.empty() && AppendStartupError(state.ErrorFile, message);
    // The error file is the record of the failure; when it cannot be written (the executable's
    // directory is read-only for this user) the console is all that is left.
    std::fprintf(stderr, "ribbonweb: start-up failed: %s (%s %s)\n", message.c_str(),
                 written ? "recorded in" : "could not append to", state.ErrorFile.c_str());
}

// Loading: the module's own file name gives the record's name, the handler name and the module
// directory. Nothing here may depend on other static objects of the module.
__attribute__((constructor)) void LoadModule() {
    auto& state = State();
    std::string executable = ReadLink("/proc/self/exe");
    state.ErrorFile = executable.empty() ? std::string() : ErrorFileFor(executable);
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ribbonweb_module), &info) && info.dli_fname)
        state.ModuleFile = info.dli_fname;
    state.RecordName = RecordNameFor(state.ModuleFile);
    state.HandlerName = HandlerNameFor(state.ModuleFile);
#ifdef RIBBON_WEB_DATA_DIR
    // A packaged server keeps the data under /var, not in Apache's module folder.
    state.ModuleDir = RIBBON_WEB_DATA_DIR;
    if (state.ModuleDir.back() != '/') state.ModuleDir += '/';
#else
    state.ModuleDir = ModuleDirFor(state.ModuleFile);
#endif
    if (!state.RecordName.empty()) ribbonweb_module.name = state.RecordName.c_str();
}

void StartUp() {
    auto& state = State();
    state.StartupError.clear();
    try {
        if (state.ModuleFile.empty() || state.ModuleFile == ReadLink("/proc/self/exe"))
            throw Exception("Apache DSOs must be a library.");
        StartApplication(state.ModuleDir);
        StopApplication();  // proven; the serving child starts its own
    } catch (...) {
        auto error = std::current_exception();
        try {
            StopApplication();
        } catch (...) {
        }
        ReportStartupFailure(ExceptionMessage(error, nullptr, true));
    }
}

__attribute__((destructor)) void UnloadModule() {
    auto& state = State();
    if (state.Application && state.ServingPid == getpid()) {
        state.Application = nullptr;
        try {
            StopApplication();
        } catch (...) {
        }
    }
}

apr_status_t StopInChild(void*) {
    UnloadModule();
    return APR_SUCCESS;
}

void ChildInit(apr_pool_t* pchild, server_rec* server) {
    auto& state = State();
    try {
        state.Application = &StartApplication(state.ModuleDir);
        state.ServingPid = getpid();
        apr_pool_cleanup_register(pchild, nullptr, StopInChild, apr_pool_cleanup_null);
    } catch (...) {
        state.Application = nullptr;
        std::string message = ExceptionMessage(std::current_exception(), nullptr, true);
        ReportStartupFailure(message);
        ap_log_error(APLOG_MARK, APLOG_ERR, 0, server, "ribbonweb: start-up failed: %s",
                     message.c_str());
    }
}

// When Apache starts as root it drops to its configured user before serving: the picture cache
// the start-up created as root must belong to that user, or no picture could be written.
int PostConfig(apr_pool_t*, apr_pool_t*, apr_pool_t*, server_rec* server) {
    if (!State().StartupError.empty()) {
        ap_log_error(APLOG_MARK, APLOG_CRIT, 0, server, "ribbonweb: start-up failed: %s",
                     State().StartupError.c_str());
        return HTTP_INTERNAL_SERVER_ERROR;
    }
    if (geteuid() != 0) return OK;
    std::string cache = State().ModuleDir + "Cache";
    struct stat st {};
    if (lstat(cache.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
        (st.st_uid != ap_unixd_config.user_id || st.st_gid != ap_unixd_config.group_id)) {
        if (chown(cache.c_str(), ap_unixd_config.user_id, ap_unixd_config.group_id) != 0)
            ap_log_error(APLOG_MARK, APLOG_WARNING, errno, server,
                         "ribbonweb: cannot hand %s to the server's user", cache.c_str());
    }
    return OK;
}

}  // namespace

void RegisterHooks(apr_pool_t*) {
    ap_hook_handler(ContentHandler, nullptr, nullptr, APR_HOOK_MIDDLE);
    ap_hook_post_config(PostConfig, nullptr, nullptr, APR_HOOK_MIDDLE);
    ap_hook_child_init(ChildInit, nullptr, nullptr, APR_HOOK_MIDDLE);
    StartUp();
}

}  // namespace ribbon::webdemo::apache
