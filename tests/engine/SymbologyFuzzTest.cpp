// Every byte value in every position for every symbology: the answer is a pattern made of the
// alphabet, or an error with a message. Run under the sanitizers this also proves that no table
// is read outside its rows.

#include <gtest/gtest.h>

#include <string>

#include "tests/engine/EngineTestUtil.h"

namespace ribbon {
namespace {

bool EveryElementMeasures(const test::Encoded& e) {
    try {
        for (char element : e.Pattern) GetBarLine(element, e.Widths);
    } catch (const Exception&) {
        return false;
    }
    return !e.Pattern.empty();
}

TEST(AllSymbologies, AnyByteAnywhere) {
    for (int type = 0; type < BarTypeCount; ++type) {
        int encoded = 0;
        for (const std::string base : {"1234567", "A"}) {
            for (int byte = 0; byte < 256; ++byte) {
                for (std::size_t at : {std::size_t{0}, base.size() / 2, base.size()}) {
                    std::string data = base;
                    data.insert(at, 1, static_cast<char>(byte));
                    for (TCheckSum checkSum : {csNone, csModulo10}) {
                        test::Encoded e;
                        try {
                            e = test::Encode(static_cast<TBarType>(type), data, 1, 2.0, checkSum);
                        } catch (const Exception& error) {
                            ASSERT_FALSE(error.Message.empty());
                            continue;
                        }
                        ASSERT_TRUE(EveryElementMeasures(e))
                            << "type " << type << " byte " << byte << " at " << at << " check "
                            << int(checkSum) << ": " << e.Pattern;
                        ++encoded;
                    }
                }
            }
        }
        // At the least the ten digits pass wherever they stand.
        EXPECT_GE(encoded, 10 * 3) << "type " << type;
    }
}

}  // namespace
}  // namespace ribbon
