#pragma once

#include <QRgb>
#include <QString>

#include <span>

namespace lumitakt {

// A picture store: one set of seven segment pictures and its colon, all
// drawn in one lit colour.
struct PictureSet {
    const char16_t *segmentStore; // "Muster1" ... "MusterLCD"
    const char16_t *colonStore;   // "TrennzeichenRot" ... "TrennzeichenLCD"
    QRgb lit;
    bool colonCorners; // the LED colons have black outer corners, the LCD one not
};

// A look of the clock face ("Farbschema": colour scheme).
struct ColourScheme {
    const char16_t *name;     // as stored in the settings file
    const char16_t *menuItem; // objectName of the menu item that chooses it
    int pictureSet;           // index into pictureSets()
    QRgb background;          // window background
    QRgb labelText;           // text colour of the two labels under the digits
};

std::span<const PictureSet> pictureSets();
std::span<const ColourScheme> colourSchemes();

// The scheme with exactly this name (case and blanks count), or nullptr.
const ColourScheme *findScheme(const QString &name);

// The picture set that a store name (segment or colon store) belongs to, or nullptr.
const PictureSet *findPictureSet(const QString &storeName);

// The set the window shows before any scheme is applied.
inline constexpr int kStartPictureSet = 1; // green

} // namespace lumitakt
