// PostNet: five bars per digit, two of them tall, on a fixed pitch; tall bars also frame it.

#include <array>
#include <string_view>

#include "engine/Encoders.h"

namespace ribbon {
namespace {

// One row per digit: "1" a tall bar, "0" a short one, weighted 7, 4, 2, 1, 0.
constexpr std::array<std::string_view, 10> PostNetTable = {{
    "11000",  // 0
    "00011",  // 1
    "00101",  // 2
    "00110",  // 3
    "01001",  // 4
    "01010",  // 5
    "01100",  // 6
    "10001",  // 7
    "10010",  // 8
    "10100",  // 9
}};

}  // namespace

std::string EncodePostNet(const std::string& Data) {
    // Every bar is one module wide and followed by a wide space: the spacing stays the same
    // whatever the bar heights.
    std::string pattern = "51";
    pattern.reserve(2 + 10 * Data.size() + 1);
    for (char digit : Data)
        for (char tall : PostNetTable[DigitValue(digit)]) pattern += tall == '1' ? "51" : "A1";
    pattern += '5';
    return pattern;
}

}  // namespace ribbon
