#include <gtest/gtest.h>

#include <string>

#include "engine/Encoders.h"
#include "tests/engine/EngineTestUtil.h"

namespace ribbon {
namespace {

using test::ErrorOf;

constexpr const char* Code93Chars = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%[]{}";

// The check characters C and K computed independently of the encoder, by the textbook rule.
std::string WithChecks(const std::string& data) {
    const std::string chars = Code93Chars;
    auto check = [&](const std::string& s, int maxWeight) {
        int sum = 0, weight = 1;
        for (auto it = s.rbegin(); it != s.rend(); ++it) {
            sum += static_cast<int>(chars.find(*it)) * weight;
            weight = weight == maxWeight ? 1 : weight + 1;
        }
        return chars[sum % 47];
    };
    std::string s = data + check(data, 20);
    return s + check(s, 15);
}

TEST(Code93, EncodesStartDataChecksStopAndTerminationBar) {
    const std::pair<std::string, std::string> cases[] = {
        {"AB", "5050806050526051516160505150705050805"},
        {"TEST93", "5050806051606151506050616051605350505053505070605152505050805"},
        {"", "5050805250515250515050805"},
    };
    for (const auto& [data, pattern] : cases) EXPECT_EQ(EncodeCode93(data), pattern) << data;
}

TEST(Code93, CheckWeightsWrapAfterTwentyAndFifteen) {
    // Data long enough to wrap both weights; the check characters must agree with the
    // independent computation. The pattern for data d + checks is the start, each
    // character's 6 elements, then the stop; compare the two check characters' elements.
    const std::string datas[] = {
        "ABCDEFGHIJKLMNO",        // 15: the 15th from the right has K weight 1
        "0123456789ABCDEFGHIJK",  // 21: the 21st from the right has C weight 1
        "THE QUICK BROWN FOX JUMPS OVER 13 LAZY DOGS $/+% [SHIFTS] {}",
    };
    for (const std::string& data : datas) {
        const std::string expected = WithChecks(data);
        const std::string pattern = EncodeCode93(data);
        const std::size_t checks = 6 + 6 * data.size();
        for (int i = 0; i < 2; ++i) {
            const char checkChar = expected[data.size() + i];
            // The element pattern of a single character, taken from the encoding of that character.
            const std::string single = EncodeCode93(std::string(1, checkChar));
            EXPECT_EQ(pattern.substr(checks + 6 * i, 6), single.substr(6, 6))
                << data << " check " << i;
        }
    }
}

TEST(Code93, ShiftCharactersAreEncodable) {
    for (char c : std::string("[]{}")) EXPECT_NO_THROW(EncodeCode93(std::string(1, c)));
    EXPECT_EQ(EncodeCode93("[").substr(6, 6), CountsToPattern("121221"));
    EXPECT_EQ(EncodeCode93("}").substr(6, 6), CountsToPattern("122211"));
}

TEST(Code93, CharactersWithoutARowAreRefusedWithTheData) {
    const std::string cases[] = {"ab", "A*B", "A\x80", std::string("\0", 1), "12,3"};
    for (const std::string& data : cases)
        EXPECT_EQ(ErrorOf([&] { EncodeCode93(data); }), data + " : Code_93 bad data.");
}

TEST(Code93Extended, EncodesTheShiftedReplacements) {
    const std::pair<std::string, std::string> cases[] = {
        {"a", "}A"},
        {"ab", "}A}B"},
        {std::string(1, '\0'), "]U"},
        {"\x01", "[A"},
        {"!", "{A"},
        {"-", "{M"},
        {":", "{Z"},
        {"@", "]V"},
        {"\x7f", "]T"},
        {"A 9", "A 9"},
        {"a\x80\xff"
         "b",
         "}A}B"},
    };
    for (const auto& [data, replacement] : cases)
        EXPECT_EQ(EncodeCode93Extended(data).Pattern, EncodeCode93(replacement)) << data;
    EXPECT_EQ(EncodeCode93Extended("a").Pattern, "5050805161506050525251505250605050805");
}

TEST(Code93Extended, NeverRefusesAnyByte) {
    std::string all;
    for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
    EXPECT_NO_THROW(EncodeCode93Extended(all));
}

}  // namespace
}  // namespace ribbon
