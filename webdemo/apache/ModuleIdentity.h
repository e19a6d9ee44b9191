#pragma once
// Names the module derives from its own file and from the server's executable. Pure string work,
// kept apart from the Apache glue so it can be tested without a server.

#include <string>
#include <typeinfo>

namespace ribbon::webdemo::apache {

// "/usr/lib/x/RibbonWeb.so" -> "ribbonweb-handler": the base name in lower case with its
// extension replaced (or, without one, extended) by "-handler".
std::string HandlerNameFor(const std::string& moduleFile);

// "/usr/lib/x/ribbonweb.so" -> "/usr/lib/x/"; a bare file name gives "./".
std::string ModuleDirFor(const std::string& moduleFile);

// "/usr/sbin/apache2" -> "/usr/sbin/apache2.err", "/opt/httpd.bin" -> "/opt/httpd.err".
std::string ErrorFileFor(const std::string& executable);

// The module record's name: the module's file name in lower case, at most 255 characters.
std::string RecordNameFor(const std::string& moduleFile);

// Appends "Error: <message>\r\n" to the error file, creating it when missing. False when the
// file cannot be written (e.g. the executable's directory is read-only for this user).
bool AppendStartupError(const std::string& errorFile, const std::string& message);

// The page sent when an exception escapes the framework; both values are HTML-escaped.
std::string InternalErrorPage(const std::string& exceptionClass, const std::string& message);

// The unqualified class name of a caught exception ("ribbon::EConvertError" -> "EConvertError").
std::string ExceptionClassName(const std::type_info& type);

}  // namespace ribbon::webdemo::apache
