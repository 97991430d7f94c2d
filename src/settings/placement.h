#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <cstdint>

namespace lumitakt {

// The settings file keeps the window's place in twips (1/1440 inch), at a
// fixed 15 twips to the pixel. Only the file's reader and writer see twips.
inline constexpr int kTwipsPerPixel = 15;

// Twips to pixels, rounded to the nearest pixel (halves away from zero).
int twipsToPixels(std::int64_t twips);

// A saved window position (twips) that lies off the screen becomes 0, each
// axis by itself; a position exactly at the limit stays.
QPoint keepOnScreen(QPoint savedTwips, QSize screenTwips, QSize windowTwips);

// The same test against all screens of the desktop (twips, the primary
// screen first): a position at which the window fits on any one screen
// stays, so a place on a second monitor is kept; any other position is
// tested per axis against the primary screen as above.
QPoint keepOnScreens(QPoint savedTwips, const QList<QRect> &screensTwips, QSize windowTwips);

} // namespace lumitakt
