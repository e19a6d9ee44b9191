// Code 39 and Code 93 symbols compared module for module with zint's at Ratio 2.0.

#include <gtest/gtest.h>

#include "tests/engine/EngineTestUtil.h"
#include "tests/oracle/ZintOracle.h"

namespace ribbon::test {
namespace {

// zint's symbology numbers.
constexpr int ZintCode39 = 8;
constexpr int ZintCode39Extended = 9;
constexpr int ZintCode93 = 25;

struct OracleCase {
    TBarType type;
    std::string data;
    TCheckSum checkSum;
    int zintType;
    std::string zintOptions;
};

TEST(ZintOracle, Code39AndCode93MatchModuleForModule) {
    const OracleCase cases[] = {
        {bcCode39, "CODE39", csNone, ZintCode39, ""},
        {bcCode39, "CODE39", csModulo10, ZintCode39, "--vers=1"},
        {bcCode39, "0123456789", csModulo10, ZintCode39, "--vers=1"},
        {bcCode39, "ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%", csNone, ZintCode39, ""},
        {bcCode39, "HELLO WORLD", csModulo10, ZintCode39, "--vers=1"},
        {bcCode39, "Z8", csModulo10, ZintCode39, "--vers=1"},  // check value 0
        // The full-ASCII forms write "-" and "." as "/M" and "/N" where zint keeps them as they
        // are (both read back the same), so the extended cases leave those two out.
        {bcCode39Extended, "Ab,c;1/x:@[_`{~", csNone, ZintCode39Extended, ""},
        {bcCode39Extended, "lower case", csModulo10, ZintCode39Extended, "--vers=1"},
        {bcCode93, "TEST93", csNone, ZintCode93, ""},
        {bcCode93, "AB", csNone, ZintCode93, ""},
        {bcCode93, "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%", csNone, ZintCode93, ""},
        {bcCode93Extended, "Full ASCII: a,z {|} ~!", csNone, ZintCode93, ""},
        {bcCode93Extended, "ribbonkit@example_org", csNone, ZintCode93, ""},
    };
    for (const OracleCase& c : cases) {
        const std::string ours = Modules(Encode(c.type, c.data, 1, 2.0, c.checkSum).Pattern);
        const auto zint = ZintModules(c.zintType, c.data, c.zintOptions);
        ASSERT_TRUE(zint.has_value()) << "zint refused " << c.data;
        EXPECT_TRUE(SameModules(ours, *zint))
            << c.data << "\nours: " << ours << "\nzint: " << *zint;
    }
}

}  // namespace
}  // namespace ribbon::test
