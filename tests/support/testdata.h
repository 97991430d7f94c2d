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

// The clock window's segments as documented, in pixels: where segment
// `index` (1..7) stands in its digit, from the left edge of the digit's left
// bars and the top of its top bar ...
inline QPoint segmentInDigit(int index)
{
    constexpr std::array<QPoint, 7> offsets{{{2, 0}, {0, 2}, {23, 2}, {5, 23}, {0, 28}, {23, 28}, {2, 46}}};
    return offsets[static_cast<std::size_t>(index - 1)];
}

// ... and in the clock window, for the digit at `position` (1..4).
inline QPoint segmentPlace(int position, int index)
{
    constexpr std::array<int, 4> digitLeft{10, 48, 108, 146};
    return QPoint(digitLeft[static_cast<std::size_t>(position - 1)], 8) + segmentInDigit(index);
}

// The six looks as documented, in the order of the menu: the name the
// settings file holds, the menu item that chooses it (objectName, caption),
// its picture stores, and its colours as the window system stores them (red
// in the lowest byte).
struct DocumentedLook {
    const char16_t *name;
    const char16_t *menuItem;
    const char16_t *menuCaption;
    const char16_t *segmentStore;
    const char16_t *colonStore;
    int background;
    int labelText;
};
inline constexpr std::array<DocumentedLook, 6> kDocumentedLooks{{
    {u"rot", u"MenuEigenschaftenLEDrot", u"LED rot      ", u"Muster1", u"TrennzeichenRot", 0, 8421504},
    {u"grün", u"MenuEigenschaftenLEDgrün", u"LED grün", u"Muster2", u"TrennzeichenGrün", 0, 49152},
    {u"blau", u"MenuEigenschaftenLEDBlau", u"LED blau", u"Muster3", u"TrennzeichenBlau", 0, 8421376},
    {u"braun", u"MenuEigenschaftenLEDoliv", u"LED oliv", u"Muster4", u"TrennzeichenBraun", 0, 8421504},
    {u"LCD", u"MenuEigenschaftenLCD", u"LCD", u"MusterLCD", u"TrennzeichenLCD", 5826524, 0},
    {u"LCDlight", u"MenuEigenschaftenLCDlight", u"LCD beleuchtet", u"MusterLCD", u"TrennzeichenLCD", 32768, 0},
}};

} // namespace lumitakt::test
