#pragma once

#include <QTime>

#include <array>
#include <cstdint>

namespace lumitakt {

// A digit is drawn from seven segment pictures, numbered 1 to 7:
// 1 top, 2 upper left, 3 upper right, 4 middle, 5 lower left,
// 6 lower right, 7 bottom.
inline constexpr int kSegmentCount = 7;
inline constexpr int kDigitPositions = 4;

// Which segments of a digit are lit: bit j - 1 for segment j.
using SegmentPattern = std::uint8_t;

// The pattern of a digit 0..9; no segment for any other value.
SegmentPattern segmentPattern(int digit);

// Whether segment j (1..7) of a pattern is lit; any other j is dark.
constexpr bool segmentLit(SegmentPattern pattern, int j)
{
    return j >= 1 && j <= kSegmentCount && ((static_cast<unsigned>(pattern) >> (j - 1)) & 1U) != 0;
}

// The four digits a time shows: tens of hours, hours, tens of minutes, minutes.
using TimeDigits = std::array<int, kDigitPositions>;
TimeDigits timeDigits(QTime time);

} // namespace lumitakt
