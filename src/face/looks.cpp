#include "face/looks.h"

#include <QStringView>

#include <array>

namespace lumitakt {

namespace {

constexpr std::array<PictureSet, 5> kPictureSets{{
    {u"Muster1", u"TrennzeichenRot", qRgb(204, 0, 0), true},
    {u"Muster2", u"TrennzeichenGrün", qRgb(0, 255, 0), true},
    {u"Muster3", u"TrennzeichenBlau", qRgb(51, 0, 255), true},
    {u"Muster4", u"TrennzeichenBraun", qRgb(204, 153, 0), true},
    {u"MusterLCD", u"TrennzeichenLCD", qRgb(0, 0, 0), false},
}};

constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kGrey = qRgb(0x80, 0x80, 0x80);

// The order of the menu, and the order in which a name is looked up.
constexpr std::array<Look, 6> kLooks{{
    {u"rot", u"MenuEigenschaftenLEDrot", u"LED rot      ", 0, kBlack, kGrey},
    {u"grün", u"MenuEigenschaftenLEDgrün", u"LED grün", 1, kBlack, qRgb(0x00, 0xC0, 0x00)},
    {u"blau", u"MenuEigenschaftenLEDBlau", u"LED blau", 2, kBlack, qRgb(0x00, 0x80, 0x80)},
    {u"braun", u"MenuEigenschaftenLEDoliv", u"LED oliv", 3, kBlack, kGrey},
    {u"LCD", u"MenuEigenschaftenLCD", u"LCD", 4, qRgb(0xDC, 0xE7, 0x58), kBlack},
    {u"LCDlight", u"MenuEigenschaftenLCDlight", u"LCD beleuchtet", 4, qRgb(0x00, 0x80, 0x00), kBlack},
}};

} // namespace

std::span<const PictureSet> pictureSets()
{
    return kPictureSets;
}

std::span<const Look> looks()
{
    return kLooks;
}

const Look *findLook(const QString &name)
{
    for (const Look &look : kLooks)
        if (name == QStringView(look.name))
            return &look;
    return nullptr;
}

} // namespace lumitakt
