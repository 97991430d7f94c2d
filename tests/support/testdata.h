#pragma once

// Test data that several tests compare with.

#include <QDateTime>
#include <QPoint>
#include <QString>

#include <array>

namespace lumitakt::test {

// A day of December 2026 (the 6th unless said) at the given time.
inline QDateTime at(QTime time, int day = 6)
{
    return QDateTime(QDate(2026, 12, day), time);
}

// Which of the segments 1..7 each digit 0..9 lights, as "1" and "0":
// top, upper left, upper right, middle, lower left, lower right, bottom.
inline const std::array<QString, 10> &litDigits()
{
    static const std::array<QString, 10> digits{
        QStringLiteral("1110111"), QStringLiteral("0010010"), QStringLiteral("1011101"), QStringLiteral("1011011"),
        QStringLiteral("0111010"), QStringLiteral("1101011"), QStringLiteral("1101111"), QStringLiteral("1010010"),
        QStringLiteral("1111111"), QStringLiteral("1111011")};
    return digits;
}

// Where segment `index` (1..7) of the digit at `position` (1..4) stands in
// the clock window, in pixels.
inline QPoint segmentPlace(int position, int index)
{
    constexpr std::array<int, 4> digitLeft{10, 48, 108, 146};
    constexpr std::array<QPoint, 7> place{{{2, 8}, {0, 10}, {23, 10}, {5, 31}, {0, 36}, {23, 36}, {2, 54}}};
    return QPoint(digitLeft[static_cast<std::size_t>(position - 1)], 0) + place[static_cast<std::size_t>(index - 1)];
}

} // namespace lumitakt::test
