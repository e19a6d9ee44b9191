#include "webdemo/apache/ModuleIdentity.h"

#include <cxxabi.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "web/Escape.h"

namespace ribbon::webdemo::apache {
namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::size_t BaseStart(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

// Position of the extension's dot within the base name, or npos. A leading dot (".hidden")
// starts no extension.
std::size_t ExtensionDot(const std::string& path) {
    auto base = BaseStart(path);
    auto dot = path.find_last_of('.');
    return dot == std::string::npos || dot <= base ? std::string::npos : dot;
}

}  // namespace

std::string HandlerNameFor(const std::string& moduleFile) {
    auto dot = ExtensionDot(moduleFile);
    auto base = BaseStart(moduleFile);
    auto stem = moduleFile.substr(base, dot == std::string::npos ? std::string::npos : dot - base);
    return Lower(stem) + "-handler";
}

std::string ModuleDirFor(const std::string& moduleFile) {
    auto base = BaseStart(moduleFile);
    return base == 0 ? std::string("./") : moduleFile.substr(0, base);
}

std::string ErrorFileFor(const std::string& executable) {
    auto dot = ExtensionDot(executable);
    return (dot == std::string::npos ? executable : executable.substr(0, dot)) + ".err";
}

std::string RecordNameFor(const std::string& moduleFile) {
    return Lower(moduleFile.substr(0, 255));
}

bool AppendStartupError(const std::string& errorFile, const std::string& message) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(errorFile.c_str(), "ab"), &std::fclose);
    if (!file) return false;
    std::string line = "Error: " + message + "\r\n";
    return std::fwrite(line.data(), 1, line.size(), file.get()) == line.size();
}

std::string InternalErrorPage(const std::string& exceptionClass, const std::string& message) {
    return "<html><title>Internal Server Error 500</title>\r\n"
           "<h1>Internal Server Error 500</h1><hr>\r\n"
           "Exception: " +
           web::HtmlEscape(exceptionClass) +
           "<br>\r\n"
           "Message: " +
           web::HtmlEscape(message) + "<br></html>\r\n";
}

std::string ExceptionClassName(const std::type_info& type) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), &std::free);
    std::string name = status == 0 && demangled ? demangled.get() : type.name();
    // Drop namespaces, but not inside template arguments.
    auto cut = name.find('<');
    auto scope = name.rfind("::", cut);
    return scope == std::string::npos ? name : name.substr(scope + 2);
}

}  // namespace ribbon::webdemo::apache
