// The names the Apache module derives from its own file and from the server's executable, and
// the page it answers with when an exception escapes.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "base/Exceptions.h"
#include "webdemo/apache/ModuleIdentity.h"

namespace ribbon::webdemo::apache {
namespace {

TEST(ModuleIdentity, NamesFromTheModuleFile) {
    struct Case {
        const char* file;
        const char* handler;
        const char* dir;
    } cases[] = {
        {"/usr/lib/apache2/modules/ribbonweb.so", "ribbonweb-handler", "/usr/lib/apache2/modules/"},
        {"/opt/Mods/RibbonWeb.SO", "ribbonweb-handler", "/opt/Mods/"},
        {"/opt/mods.d/ribbonweb", "ribbonweb-handler",
         "/opt/mods.d/"},  // no extension: a dot in the folder does not count
        {"/x/ribbon.web.so", "ribbon.web-handler", "/x/"},  // only the last extension goes
        {"ribbonweb.so", "ribbonweb-handler", "./"},
        {"/x/.so", ".so-handler", "/x/"},  // a leading dot starts no extension
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(HandlerNameFor(c.file), c.handler);
        EXPECT_EQ(ModuleDirFor(c.file), c.dir);
    }
}

TEST(ModuleIdentity, RecordNameIsLowerCaseAndAtMost255Characters) {
    EXPECT_EQ(RecordNameFor("/Opt/RibbonWeb.so"), "/opt/ribbonweb.so");
    std::string longPath = "/" + std::string(400, 'A') + ".so";
    EXPECT_EQ(RecordNameFor(longPath), "/" + std::string(254, 'a'));
}

TEST(ModuleIdentity, ErrorFileReplacesOrAddsTheExtension) {
    EXPECT_EQ(ErrorFileFor("/usr/sbin/apache2"), "/usr/sbin/apache2.err");
    EXPECT_EQ(ErrorFileFor("/opt/httpd.bin"), "/opt/httpd.err");
    EXPECT_EQ(ErrorFileFor("/opt/v2.4/httpd"), "/opt/v2.4/httpd.err");
}

TEST(ModuleIdentity, StartupErrorsAreAppendedLineByLine) {
    auto dir =
        std::filesystem::temp_directory_path() / ("ribbonweb-err-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    auto file = (dir / "apache2.err").string();
    ASSERT_TRUE(AppendStartupError(file, "first"));
    ASSERT_TRUE(AppendStartupError(file, "second"));
    std::ifstream in(file, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    EXPECT_EQ(content.str(), "Error: first\r\nError: second\r\n");
    EXPECT_FALSE(AppendStartupError((dir / "missing" / "apache2.err").string(), "x"));
    std::filesystem::remove_all(dir);
}

TEST(ModuleIdentity, InternalErrorPageEscapesWhatItShows) {
    EXPECT_EQ(InternalErrorPage("EConvertError", "'<b>' & \"x\""),
              "<html><title>Internal Server Error 500</title>\r\n"
              "<h1>Internal Server Error 500</h1><hr>\r\n"
              "Exception: EConvertError<br>\r\n"
              "Message: &#39;&lt;b&gt;&#39; &amp; &quot;x&quot;<br></html>\r\n");
}

TEST(ModuleIdentity, ExceptionClassNamesWithoutNamespaces) {
    EXPECT_EQ(ExceptionClassName(typeid(ribbon::EConvertError)), "EConvertError");
    EXPECT_EQ(ExceptionClassName(typeid(std::out_of_range)), "out_of_range");
}

}  // namespace
}  // namespace ribbon::webdemo::apache
