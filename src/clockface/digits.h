#pragma once

#include <QChar>
#include <QString>

#include <array>
#include <cstdint>

namespace lumitakt {

// A digit is drawn from seven segment pictures, numbered 1 to 7:
// 1 top, 2 upper left, 3 upper right, 4 middle, 5 lower left,
// 6 lower right, 7 bottom. A pattern is a text of seven "1"/"0"
// characters, character j saying whether segment j is lit.
inline constexpr int kSegmentCount = 7;
inline constexpr int kDigitPositions = 4;

// Where each of the four digit positions (tens of hours, hours, tens of
// minutes, minutes) takes its character in the time text "hh:mm:ss".
inline constexpr std::array<int, kDigitPositions> kTimeTextIndex{0, 1, 3, 4};

// The seven-segment pattern of a digit value 0..9; the empty text for any
// other value ("Dez to BCD": decimal to the segment code).
QString DezToBCD(std::int16_t Wert);

// The digit value shown for one character of the time text: "0".."9" give
// 0..9, anything else gives 0.
std::int16_t digitValue(QChar c);

// Whether segment j (1..7) of a pattern is lit. A pattern shorter than j
// characters leaves the segment dark, so a malformed pattern can never
// read past its end.
bool segmentLit(const QString &pattern, int j);

} // namespace lumitakt
