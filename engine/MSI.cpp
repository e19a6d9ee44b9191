// MSI (Modified Plessey) with its modulo-10 check digit.

#include <array>
#include <string_view>

#include "engine/Encoders.h"

namespace ribbon {
namespace {

// Each digit as four bits, most significant first.
constexpr std::array<std::string_view, 10> MSITable = {{
    "0000",  // 0
    "0001",  // 1
    "0010",  // 2
    "0011",  // 3
    "0100",  // 4
    "0101",  // 5
    "0110",  // 6
    "0111",  // 7
    "1000",  // 8
    "1001",  // 9
}};

// A 1 bit is a wide bar and a narrow space, a 0 bit a narrow bar and a wide space.
void AppendDigit(std::string& pattern, int digit) {
    for (char bit : MSITable[digit]) pattern += bit == '1' ? "60" : "51";
}

// Twice a decimal number of any length, exactly.
std::string DoubleDecimal(std::string_view decimal) {
    std::string doubled(decimal.size() + 1, '0');
    int carry = 0;
    for (std::size_t i = decimal.size(); i-- > 0;) {
        const int d = 2 * DigitValue(decimal[i]) + carry;
        doubled[i + 1] = static_cast<char>('0' + d % 10);
        carry = d / 10;
    }
    doubled[0] = static_cast<char>('0' + carry);
    return doubled;
}

int CheckDigit(const std::string& data) {
    // Counting from the right-most digit as position 1: the odd positions, read in data order,
    // form one number that is doubled; the even positions are added as they are.
    std::string oddPositions;
    long long total = 0;
    for (std::size_t i = 0; i < data.size(); ++i) {
        if ((data.size() - i) % 2 == 1)
            oddPositions += data[i];
        else
            total += DigitValue(data[i]);
    }
    total += DigitSum(DoubleDecimal(oddPositions));
    return static_cast<int>((10 - total % 10) % 10);
}

}  // namespace

long long DigitSum(std::string_view Decimal) {
    long long sum = 0;
    for (char c : Decimal) sum += DigitValue(c);
    return sum;
}

std::string EncodeMSI(const std::string& Data) {
    std::string pattern = "60";
    pattern.reserve(2 + 8 * (Data.size() + 1) + 3);
    for (char digit : Data) AppendDigit(pattern, DigitValue(digit));
    AppendDigit(pattern, CheckDigit(Data));
    pattern += "515";
    return pattern;
}

}  // namespace ribbon
