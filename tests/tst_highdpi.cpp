// Run at a device pixel ratio of 2 (QT_SCALE_FACTOR=2): the pixel art must
// show at exactly twice its size, every picture pixel a sharp 2 x 2 block.
#include "support/clockfixture.h"

#include <QPainter>
#include <QTest>

using namespace lumitakt;

class TstHighDpi : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { test::quietOffscreen(); }
    void picturesDoubleWithoutSmoothing();
};

void TstHighDpi::picturesDoubleWithoutSmoothing()
{
    test::ClockFixture c(QTime(18, 8, 0));
    c.tickThrough(QTime(18, 8, 0), QTime(18, 8, 0, 500)); // 18:08, two ticks: colon shown
    QVERIFY(!c.colon()->isHidden());
    c.trigger("MenuEigenschaftenLEDBlau");
    QCOMPARE(c.window->devicePixelRatio(), 2.0);
    const QImage screen = c.window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(screen.size(), c.window->size() * 2);

    // The face as the pictures compose it at their own size, on the black
    // background of the look ...
    QImage face(c.window->size(), QImage::Format_RGB32);
    face.fill(Qt::black);
    QList<PictureElement *> elements{c.colon()};
    for (int p = 1; p <= 4; ++p)
        for (int j = 1; j <= 7; ++j)
            elements.append(c.segment(p, j));
    int shown = 0;
    {
        QPainter painter(&face);
        for (PictureElement *element : elements) {
            if (element->isHidden())
                continue;
            // Twice as many device pixels, the same size in the window's own.
            QCOMPARE(element->size(), element->picture().deviceIndependentSize().toSize());
            painter.drawImage(element->pos(), element->picture().toImage());
            ++shown;
        }
    }
    // 1 and 8, 0 and 8 lit: 2 + 7 + 6 + 7 segments and the colon.
    QCOMPARE(shown, 23);
    // ... and every one of its pixels a sharp 2 x 2 block on the screen.
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x)
            if (screen.pixel(x, y) != face.pixel(x / 2, y / 2))
                QFAIL(qPrintable(QStringLiteral("device pixel %1, %2 differs").arg(x).arg(y)));
}

// Twice the pixels, whatever the environment says: the scale factor is set
// before the application starts.
int main(int argc, char *argv[])
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TstHighDpi test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_highdpi.moc"
