#include "clockface/colourschemes.h"

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

// The order is the order in which a name is looked up.
constexpr std::array<ColourScheme, 6> kSchemes{{
    {u"rot", u"MenuEigenschaftenLEDrot", 0, kBlack, kGrey},
    {u"grün", u"MenuEigenschaftenLEDgrün", 1, kBlack, qRgb(0x00, 0xC0, 0x00)},
    {u"blau", u"MenuEigenschaftenLEDBlau", 2, kBlack, qRgb(0x00, 0x80, 0x80)},
    {u"braun", u"MenuEigenschaftenLEDoliv", 3, kBlack, kGrey},
    {u"LCD", u"MenuEigenschaftenLCD", 4, qRgb(0xDC, 0xE7, 0x58), kBlack},
    {u"LCDlight", u"MenuEigenschaftenLCDlight", 4, qRgb(0x00, 0x80, 0x00), kBlack},
}};

} // namespace

std::span<const PictureSet> pictureSets()
{
    return kPictureSets;
}

std::span<const ColourScheme> colourSchemes()
{
    return kSchemes;
}

const ColourScheme *findScheme(const QString &name)
{
    for (const ColourScheme &scheme : kSchemes)
        if (name == QStringView(scheme.name))
            return &scheme;
    return nullptr;
}

const PictureSet *findPictureSet(const QString &storeName)
{
    for (const PictureSet &set : kPictureSets)
        if (storeName == QStringView(set.segmentStore) || storeName == QStringView(set.colonStore))
            return &set;
    return nullptr;
}

} // namespace lumitakt
