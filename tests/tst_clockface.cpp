#include "face/looks.h"
#include "face/segmentpictures.h"
#include "support/testdata.h"

#include <QSet>
#include <QTest>

using namespace lumitakt;

class TstClockface : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void segmentPictureShapes_data();
    void segmentPictureShapes();
    void setsAgreeInEveryPixel();
    void barsInterlockWithoutOverlap();
    void colonPictures();
    void startColonIsOpaque();
    void iconIsOutlinedRedOnTransparent();
    void lookTable_data();
    void lookTable();
    void notLookNames_data();
    void notLookNames();
};

namespace {

int countKind(const QImage &image, PixelKind kind)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelIndex(x, y) == static_cast<int>(kind);
    return n;
}

// On/off transparency: every colour of the picture is either fully opaque
// or fully transparent.
void verifyOnOff(const QImage &image)
{
    for (const QRgb c : image.colorTable())
        QVERIFY2(qAlpha(c) == 0 || qAlpha(c) == 255, "partly transparent colour");
}

} // namespace

void TstClockface::segmentPictureShapes_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("lit");
    QTest::newRow("1 top") << 1 << QSize(28, 9) << 140;
    QTest::newRow("2 upper left") << 2 << QSize(9, 25) << 128;
    QTest::newRow("3 upper right") << 3 << QSize(9, 25) << 128;
    QTest::newRow("4 middle") << 4 << QSize(22, 9) << 116;
    QTest::newRow("5 lower left") << 5 << QSize(9, 25) << 128;
    QTest::newRow("6 lower right") << 6 << QSize(9, 25) << 128;
    QTest::newRow("7 bottom") << 7 << QSize(28, 9) << 140;
}

void TstClockface::segmentPictureShapes()
{
    QFETCH(int, index);
    QFETCH(QSize, size);
    QFETCH(int, lit);
    for (const PictureSet &set : pictureSets()) {
        const QImage image = segmentPicture(index, set.lit);
        QCOMPARE(image.size(), size);
        QCOMPARE(countKind(image, PixelKind::Lit), lit);
        QCOMPARE(countKind(image, PixelKind::Corner), 0);
        verifyOnOff(image);
        QCOMPARE(image.color(static_cast<int>(PixelKind::Lit)), set.lit);
        QCOMPARE(image.color(static_cast<int>(PixelKind::Outline)), qRgb(128, 128, 128));
        // Every lit pixel is enclosed: its four neighbours are lit or outline.
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                if (segmentPixel(index, x, y) == PixelKind::Lit)
                    for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)})
                        QVERIFY(segmentPixel(index, x + d.x(), y + d.y()) != PixelKind::Transparent);
    }
    // Mirror images: left and right bars, upper and lower bars.
    const auto mirrored = [](int a, int b, bool horizontal) {
        const QSize s = segmentSize(a);
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x) {
                const int mx = horizontal ? s.width() - 1 - x : x;
                const int my = horizontal ? y : s.height() - 1 - y;
                if (segmentPixel(a, x, y) != segmentPixel(b, mx, my))
                    return false;
            }
        return true;
    };
    QVERIFY(mirrored(2, 3, true));
    QVERIFY(mirrored(5, 6, true));
    QVERIFY(mirrored(2, 5, false));
    QVERIFY(mirrored(1, 7, false));
    QVERIFY(mirrored(4, 4, false));
    QVERIFY(mirrored(4, 4, true));
}

void TstClockface::setsAgreeInEveryPixel()
{
    const auto sets = pictureSets();
    QCOMPARE(sets.size(), std::size_t{5});
    for (int index = 1; index <= 7; ++index) {
        const QImage first = segmentPicture(index, sets[0].lit);
        for (const PictureSet &set : sets) {
            const QImage other = segmentPicture(index, set.lit);
            for (int y = 0; y < first.height(); ++y)
                for (int x = 0; x < first.width(); ++x)
                    QCOMPARE(other.pixelIndex(x, y), first.pixelIndex(x, y));
        }
    }
}

void TstClockface::barsInterlockWithoutOverlap()
{
    // A digit's seven bars at their places relative to the digit's origin,
    // as documented.
    for (int index = 1; index <= 7; ++index)
        QCOMPARE(segmentOffset(index), test::segmentInDigit(index));
    QImage owner(40, 64, QImage::Format_Indexed8);
    owner.setColorCount(8);
    owner.fill(0);
    QRect bounds;
    for (int index = 1; index <= 7; ++index) {
        const QSize s = segmentSize(index);
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x) {
                if (segmentPixel(index, x, y) == PixelKind::Transparent)
                    continue;
                const QPoint at = segmentOffset(index) + QPoint(x, y);
                QVERIFY2(owner.pixelIndex(at) == 0, "two bars are opaque in the same pixel");
                owner.setPixel(at, static_cast<uint>(index));
                bounds |= QRect(at, QSize(1, 1));
            }
    }
    // From the top of the top bar (8 px) to the last row of the bottom bar
    // (54 + 9 - 1 px): 32 pixels wide and 55 high.
    QCOMPARE(bounds, QRect(0, 0, 32, 55));
    // Neighbouring bars never touch side by side: a transparent pixel lies between them.
    for (int y = 0; y < owner.height(); ++y)
        for (int x = 0; x + 1 < owner.width(); ++x) {
            const int a = owner.pixelIndex(x, y);
            const int right = owner.pixelIndex(x + 1, y);
            QVERIFY(a == 0 || right == 0 || a == right);
            if (y + 1 < owner.height()) {
                const int below = owner.pixelIndex(x, y + 1);
                QVERIFY(a == 0 || below == 0 || a == below);
            }
        }
}

void TstClockface::colonPictures()
{
    const QSet<QPoint> corners{{0, 0}, {9, 0}, {0, 30}, {9, 30}};
    for (const PictureSet &set : pictureSets()) {
        const QImage image = colonPicture(set.lit, set.colonCorners);
        QCOMPARE(image.size(), QSize(10, 31));
        QCOMPARE(countKind(image, PixelKind::Lit), 128);
        verifyOnOff(image);
        QCOMPARE(image.color(static_cast<int>(PixelKind::Outline)), qRgb(128, 128, 128));
        QCOMPARE(image.color(static_cast<int>(PixelKind::Corner)), qRgb(0, 0, 0));
        for (int y = 0; y < 31; ++y)
            for (int x = 0; x < 10; ++x) {
                const PixelKind kind = static_cast<PixelKind>(image.pixelIndex(x, y));
                const bool corner = corners.contains(QPoint(x, y));
                QCOMPARE(kind == PixelKind::Corner, corner && set.colonCorners);
                // The gap between the dots is empty.
                if (y >= 10 && y <= 20)
                    QCOMPARE(kind, PixelKind::Transparent);
                // Apart from the corners, both colon kinds have the same shape.
                if (!corner)
                    QCOMPARE(kind, colonPixel(!set.colonCorners, x, y));
            }
    }
    const auto lcd = pictureSets().back();
    QVERIFY(!lcd.colonCorners);
    QCOMPARE(lcd.lit, qRgb(0, 0, 0));
}

void TstClockface::startColonIsOpaque()
{
    const QImage start = startColonPicture(pictureSets()[kStartPictureSet].lit);
    QCOMPARE(start.size(), QSize(10, 31));
    int green = 0;
    for (int y = 0; y < 31; ++y)
        for (int x = 0; x < 10; ++x) {
            const QRgb c = start.pixel(x, y);
            QCOMPARE(qAlpha(c), 255);
            const PixelKind kind = colonPixel(false, x, y);
            const QRgb expected = kind == PixelKind::Lit       ? qRgb(0, 255, 0)
                                  : kind == PixelKind::Outline ? qRgb(128, 128, 128)
                                                               : qRgb(0, 0, 0);
            QCOMPARE(c, expected);
            green += kind == PixelKind::Lit;
        }
    QCOMPARE(green, 128);
}

void TstClockface::iconIsOutlinedRedOnTransparent()
{
    const QImage icon = iconPicture();
    QCOMPARE(icon.size(), QSize(16, 16));
    QVERIFY(icon.colorCount() <= 16);
    const auto at = [&](int x, int y) {
        return (x < 0 || y < 0 || x >= 16 || y >= 16) ? qRgba(0, 0, 0, 0) : icon.pixel(x, y);
    };
    int red = 0;
    int transparent = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const QRgb c = at(x, y);
            bool nextToRed = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    nextToRed |= (dx || dy) && at(x + dx, y + dy) == qRgb(255, 0, 0);
            if (c == qRgb(255, 0, 0)) {
                ++red;
                // Every red pixel is fenced by red or black, never by transparency.
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        QVERIFY(qAlpha(at(x + dx, y + dy)) == 255);
            } else if (c == qRgb(0, 0, 0)) {
                QVERIFY2(nextToRed, "black pixel that outlines nothing");
            } else {
                QCOMPARE(qAlpha(c), 0);
                QVERIFY(!nextToRed);
                ++transparent;
            }
        }
    // "11:23" on 3 x 7 cells: two ones of 7 pixels, two dots, a 2 and a 3 of 13.
    QCOMPARE(red, 7 + 7 + 2 + 13 + 13);
    QVERIFY(transparent > 100);
    // Larger icons are the same picture, whole pixels scaled up.
    const QImage big = iconPicture(4);
    QCOMPARE(big.size(), QSize(64, 64));
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            QCOMPARE(big.pixel(x, y), icon.pixel(x / 4, y / 4));
}

void TstClockface::lookTable_data()
{
    QTest::addColumn<int>("position");
    for (std::size_t i = 0; i < test::kDocumentedLooks.size(); ++i)
        QTest::newRow(QString::fromUtf16(test::kDocumentedLooks[i].name).toUtf8().constData()) << static_cast<int>(i);
}

void TstClockface::lookTable()
{
    QFETCH(int, position);
    const test::DocumentedLook &documented = test::kDocumentedLooks[static_cast<std::size_t>(position)];
    const QString name = QString::fromUtf16(documented.name);
    const auto stored = [](QRgb c) { return qRed(c) | qGreen(c) << 8 | qBlue(c) << 16; };
    // The program has the documented looks, no more, in the menu's order.
    QCOMPARE(looks().size(), test::kDocumentedLooks.size());
    const Look *look = findLook(name);
    QVERIFY(look);
    QCOMPARE(look, &looks()[static_cast<std::size_t>(position)]);
    QCOMPARE(QStringView(look->name), name);
    QCOMPARE(QStringView(look->menuItem), QStringView(documented.menuItem));
    QCOMPARE(QStringView(look->menuCaption), QStringView(documented.menuCaption));
    QVERIFY(look->pictureSet >= 0 && look->pictureSet < static_cast<int>(pictureSets().size()));
    const PictureSet &set = pictureSets()[static_cast<std::size_t>(look->pictureSet)];
    QCOMPARE(QStringView(set.segmentStore), QStringView(documented.segmentStore));
    QCOMPARE(QStringView(set.colonStore), QStringView(documented.colonStore));
    QCOMPARE(stored(look->background), documented.background);
    QCOMPARE(stored(look->labelText), documented.labelText);
    // The digits and the labels stand out from the window's background.
    QVERIFY(set.lit != look->background);
    QVERIFY(look->labelText != look->background);
}

void TstClockface::notLookNames_data()
{
    QTest::addColumn<QString>("name");
    for (const char16_t *name : {u"Rot", u"ROT", u"LCDLight", u" rot", u"rot ", u"", u"grun", u"gruen", u"LED rot", u"oliv"})
        QTest::newRow(QString::fromUtf16(name).toUtf8().constData()) << QString::fromUtf16(name);
    QTest::newRow("null") << QString();
    // "grün" with a combining diaeresis is not the same text.
    QTest::newRow("decomposed grün") << QString::fromUtf16(u"gru\u0308n");
}

void TstClockface::notLookNames()
{
    QFETCH(QString, name);
    QCOMPARE(findLook(name), nullptr);
}

QTEST_APPLESS_MAIN(TstClockface)
#include "tst_clockface.moc"
