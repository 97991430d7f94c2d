#include "model/digits.h"

#include <string_view>

namespace lumitakt {

namespace {

// "1110111": character j says whether segment j is lit.
constexpr SegmentPattern pattern(std::string_view lit)
{
    SegmentPattern bits = 0;
    for (std::size_t j = 0; j < lit.size(); ++j)
        if (lit[j] == '1')
            bits = static_cast<SegmentPattern>(bits | (1U << j));
    return bits;
}

constexpr std::array<SegmentPattern, 10> kPatterns{
    pattern("1110111"), // 0
    pattern("0010010"), // 1
    pattern("1011101"), // 2
    pattern("1011011"), // 3
    pattern("0111010"), // 4
    pattern("1101011"), // 5
    pattern("1101111"), // 6 with the top bar
    pattern("1010010"), // 7 without the upper left bar
    pattern("1111111"), // 8
    pattern("1111011"), // 9 with the bottom bar
};

} // namespace

SegmentPattern segmentPattern(int digit)
{
    if (digit < 0 || digit > 9)
        return 0;
    return kPatterns[static_cast<std::size_t>(digit)];
}

TimeDigits timeDigits(QTime time)
{
    return {time.hour() / 10, time.hour() % 10, time.minute() / 10, time.minute() % 10};
}

} // namespace lumitakt
