// Escaping, form-body reading and session identifiers.

#include <gtest/gtest.h>

#include <set>

#include "web/Escape.h"
#include "web/FormData.h"
#include "web/SessionId.h"

namespace ribbon::web {
namespace {

TEST(HtmlEscape, WritesMarkupCharactersAsReferences) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"plain text 123", "plain text 123"},
        {"<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;"},
        {"a\"b'c&d", "a&quot;b&#39;c&amp;d"},
        {"line\nbreak\ttab", "line&#10;break&#9;tab"},
        {std::string("nul\0x", 5), "nul&#0;x"},
        {"caf\xE9", "caf\xE9"},  // 8-bit text stays as it is on an ISO-8859-1 page
    };
    for (const auto& c : cases) EXPECT_EQ(HtmlEscape(c.in), c.out) << c.in;
}

TEST(JsEscape, KeepsTheStringAndTheScriptClosed) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"C:\\dir", "C:\\\\dir"},
        {"two\r\nlines\nand\rmore", "two\\nlines\\nand\\nmore"},
        {"say \"hi\" 'there'", "say \\\"hi\\\" \\'there\\'"},
        {"</script><script>x()</script>",
         "\\x3C\\x2Fscript\\x3E\\x3Cscript\\x3Ex()\\x3C\\x2Fscript\\x3E"},
        {"a&b=c", "a\\x26b\\x3Dc"},
        {std::string("\0\x1F\x7F\xE9", 4), "\\x00\\x1F\\x7F\\xE9"},
    };
    for (const auto& c : cases) EXPECT_EQ(JsEscape(c.in), c.out) << c.in;
}

TEST(JsEscape, NoByteCanEndTheLiteral) {
    std::string every;
    for (int c = 0; c < 256; ++c) every += static_cast<char>(c);
    const std::string out = JsEscape(every);
    for (char bad : {'"', '\'', '<', '>', '\n', '\r'}) {
        // A quote may only appear right after the backslash that escapes it.
        for (auto at = out.find(bad); at != std::string::npos; at = out.find(bad, at + 1))
            EXPECT_EQ(out[at - 1], '\\') << "unescaped byte " << int(bad);
    }
    for (unsigned char c : out) EXPECT_TRUE(c >= 0x20 && c < 0x7F);
}

TEST(FormData, ReadsUrlEncodedFieldsInOrder) {
    const struct {
        std::string body;
        FormFields fields;
    } cases[] = {
        {"", {}},
        {"a=1&b=2", {{"a", "1"}, {"b", "2"}}},
        {"edt=hello+world&x=%41%62%2B", {{"edt", "hello world"}, {"x", "Ab+"}}},
        {"bad=%zz%4&lone", {{"bad", "%zz%4"}, {"lone", ""}}},
        {"&&a=&=v", {{"a", ""}, {"", "v"}}},
        {"k=%E9%00z", {{"k", std::string("\xE9\0z", 3)}}},
        {"same=Off&same=On", {{"same", "Off"}, {"same", "On"}}},
        {"eq=a=b", {{"eq", "a=b"}}},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseFormUrlEncoded(c.body), c.fields) << c.body;
}

TEST(SessionId, IsTwentyFourHexCharactersAndNeverRepeats) {
    std::set<std::string> seen;
    for (int i = 0; i < 2000; ++i) {
        const std::string id = NewSessionId();
        EXPECT_TRUE(IsSessionId(id)) << id;
        EXPECT_TRUE(seen.insert(id).second) << id;
    }
}

TEST(SessionId, RecognisesOnlyItsOwnShape) {
    EXPECT_TRUE(IsSessionId("0123456789abcdef01234567"));
    for (const char* bad :
         {"", "0123456789abcdef0123456", "0123456789abcdef012345678", "0123456789ABCDEF01234567",
          "0123456789abcdef0123456g", "../../../../etc/passwd/xx"})
        EXPECT_FALSE(IsSessionId(bad)) << bad;
}

}  // namespace
}  // namespace ribbon::web
