#pragma once

class QScrollBar;
class QWidget;

namespace lumitakt {

// What assistive technology (a screen reader through AT-SPI) is told where
// Qt's own interfaces would mislead. Nothing here changes a pixel.

// Installs the interfaces below; once is enough, more calls do nothing.
void installAccessibility();

// A window whose pictures are decoration: they are not reported as
// objects of their own; what they show is in the window's name.
void reportWithoutPictures(QWidget *window);
void reportAsPicture(QWidget *picture);

// A scroll bar whose value runs against the number it sets (its up arrow
// raises the number): it reports that number as its value.
void reportReversed(QScrollBar *bar);

// A window that appears to alert the user, read out when it appears.
void reportAsAlert(QWidget *window);

} // namespace lumitakt
