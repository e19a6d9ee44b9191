#include <gtest/gtest.h>

#include "engine/Encoders.h"
#include "tests/engine/EngineTestUtil.h"

namespace ribbon {
namespace {

constexpr const char* Star = "515060605";

struct PatternCase {
    std::string data;
    TCheckSum checkSum;
    std::string pattern;
};

TEST(Code39, EncodesStartDataCheckAndStop) {
    const PatternCase cases[] = {
        {"A", csNone, "51506060506050515060515060605"},
        {"A", csModulo10, "515060605060505150606050515060515060605"},
        {"a1", csNone, "51506060506051505060515060605"},  // "a" has no code: left out
        {"", csNone, "5150606050515060605"},
        {"", csModulo10, "51506060505051606050515060605"},  // check value 0 is "0", not "*"
    };
    for (const PatternCase& c : cases)
        EXPECT_EQ(EncodeCode39(c.data, c.checkSum).Pattern, c.pattern)
            << c.data << " " << int(c.checkSum);
}

TEST(Code39, TheCheckCharacterIsTheFirstRowWithTheSumModulo43) {
    // Each case: the data, then the data whose plain encoding equals data + check character.
    const std::pair<const char*, const char*> cases[] = {
        {"A*A", "A*AK"},          // "*" counts 0: 10 + 0 + 10 = 20 -> "K"
        {"Z8", "Z80"},            // 35 + 8 = 43 -> 0 -> "0", found ahead of "*"
        {"%%", "%%+"},            // 42 + 42 = 84 -> 41 -> "+"
        {"$/+%", "$/+%X"},        // 39 + 40 + 41 + 42 = 162 -> 33 -> "X"
        {"CODE 39", "CODE 39R"},  // 12+24+13+14+38+3+9 = 113 -> 27 -> "R"
    };
    for (auto [data, withCheck] : cases)
        EXPECT_EQ(EncodeCode39(data, csModulo10).Pattern, EncodeCode39(withCheck, csNone).Pattern)
            << data;
}
TEST(Code39, StarInsideTheDataIsAStartStopCharacter) {
    const std::string p = EncodeCode39("A*A", csNone).Pattern;
    EXPECT_EQ(p.substr(20, 9), Star);
}

TEST(Code39, CharactersWithoutACodeVanishFromTheSymbolButNotTheText) {
    EXPECT_EQ(EncodeCode39("AbC\x80\xff", csNone).Pattern, EncodeCode39("AC", csNone).Pattern);
    const test::Encoded e = test::Encode(bcCode39, "AbC");
    EXPECT_EQ(e.Text, "AbC");
}

TEST(Code39Extended, EncodesTheFullAsciiReplacements) {
    const std::pair<std::string, std::string> cases[] = {
        {"a", "+A"},
        {"-", "/M"},
        {".", "/N"},
        {"/", "/O"},
        {":", "/Z"},
        {std::string(1, '\0'), "%U"},
        {"\x01", "$A"},
        {"\x1a", "$Z"},
        {"\x1b", "%A"},
        {"\x1f", "%E"},
        {" ", " "},
        {"!", "/A"},
        {";", "%F"},
        {"?", "%J"},
        {"@", "%V"},
        {"[", "%K"},
        {"_", "%O"},
        {"`", "%W"},
        {"z", "+Z"},
        {"{", "%P"},
        {"\x7f", "%T"},
        {"Az9", "A+Z9"},
        {"a\x80\xc0\xff"
         "b",
         "+A+B"},  // codes above 127 are dropped
    };
    for (const auto& [data, replacement] : cases) {
        EXPECT_EQ(EncodeCode39Extended(data, csNone).Pattern,
                  EncodeCode39(replacement, csNone).Pattern)
            << data;
        EXPECT_EQ(EncodeCode39Extended(data, csModulo10).Pattern,
                  EncodeCode39(replacement, csModulo10).Pattern)
            << data;
    }
    EXPECT_EQ(EncodeCode39Extended("a", csNone).Pattern, "515060605051505151506050515060515060605");
}

TEST(Code39, SymbolLengthIsTwentyNarrowAndNineWidePerCharacter) {
    struct Case {
        int modul;
        double ratio;
        int width;
    };
    const Case cases[] = {{1, 2.0, 38}, {1, 3.5, 47}, {2, 2.25, 76}, {2, 2.75, 94}};
    for (const Case& c : cases)
        EXPECT_EQ(Z_GetBarWidth(bcCode39, "1", c.modul, c.ratio, csNone), c.width) << c.ratio;
}

}  // namespace
}  // namespace ribbon
