#pragma once

#include <QRgb>
#include <QString>

#include <span>

namespace lumitakt {

// A picture set: seven segment pictures and a colon, all drawn in one lit
// colour, kept in two picture stores.
struct PictureSet {
    const char16_t *segmentStore; // "Muster1" ... "MusterLCD"
    const char16_t *colonStore;   // "TrennzeichenRot" ... "TrennzeichenLCD"
    QRgb lit;
    bool colonCorners; // the LED colons have black outer corners, the LCD one not
};

// A look of the clock face, in the order of the menu.
struct Look {
    const char16_t *name;        // as stored in the settings file
    const char16_t *menuItem;    // objectName of the menu item that chooses it
    const char16_t *menuCaption; // that item's caption
    int pictureSet;              // index into pictureSets()
    QRgb background;             // window background
    QRgb labelText;              // text colour of the two labels under the digits
};

std::span<const PictureSet> pictureSets();
// The set the window shows before a look is applied: the green one.
inline constexpr std::size_t kStartPictureSet = 1;
std::span<const Look> looks();

// The look with exactly this name (case and blanks count), or nullptr.
const Look *findLook(const QString &name);

} // namespace lumitakt
