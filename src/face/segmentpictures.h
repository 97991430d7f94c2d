#pragma once

#include <QImage>
#include <QPoint>
#include <QRgb>
#include <QSize>

namespace lumitakt {

// What a pixel of a clock-face picture is. Pictures have on/off
// transparency only: every pixel is either fully drawn or not at all.
enum class PixelKind { Transparent, Lit, Outline, Corner };

inline constexpr QRgb kOutlineGrey = qRgb(128, 128, 128);
inline constexpr QRgb kCornerBlack = qRgb(0, 0, 0);

// Size in pixels of the picture of segment 1..7; an empty size otherwise.
QSize segmentSize(int index);
// Where the picture of segment 1..7 stands in its digit: its top left
// corner, in pixels from the left edge of the digit's left bars and the top
// of its top bar. The bars interlock without overlapping.
QPoint segmentOffset(int index);
inline constexpr QSize kColonSize{10, 31};

// The shape rules: the kind of pixel (x, y) in the picture of segment
// 1..7, or of the colon. Pixels outside the picture are transparent.
PixelKind segmentPixel(int index, int x, int y);
PixelKind colonPixel(bool corners, int x, int y);

// The pictures drawn from the rules in a set's lit colour, as indexed
// images with one fully transparent entry.
QImage segmentPicture(int index, QRgb lit);
QImage colonPicture(QRgb lit, bool corners);

// The colon shown before any colour scheme is applied: the colon without
// corners in the start set's `lit` colour (see kStartPictureSet) on an
// opaque black ground, indistinguishable from that set's colon on black.
QImage startColonPicture(QRgb lit);

// The 16 x 16 window icon: "11:23" in small red seven-segment figures with a
// black outline, on a transparent ground. Every larger size is the same
// picture scaled by a whole number, so icons of all sizes stay crisp.
QImage iconPicture(int scale = 1);

} // namespace lumitakt
