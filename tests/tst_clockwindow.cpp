#include "support/clockfixture.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace lumitakt;

namespace {

using Fixture = test::ClockFixture;

QImage imageOf(const QPixmap &pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class TstClockWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        test::quietOffscreen();
    }
    void windowAtCreation();
    void segmentGeometry_data();
    void segmentGeometry();
    void colonAndLabels();
    void popupMenu();
    void startsWithTheDefaults();
    void activationSizeAndLabels_data();
    void activationSizeAndLabels();
    void activationEnablesSynchronise();
    void activationAppliesLook();
    void colourCommands_data();
    void colourCommands();
    void notALookChangesNothing_data();
    void notALookChangesNothing();
    void lookChangeKeepsLitSegmentsAndColonPhase();
    void tickDrawsDigits_data();
    void tickDrawsDigits();
    void drawingLeavesOnlyThePattern();
    void colonBlinks();
    void oneTickReadsTheClockOnce();
    void returnFromOwnWindowActivates();
    void dialogsShareTheProgramIcon_data();
    void dialogsShareTheProgramIcon();
    void captionFollowsWindowState();
    void captionAtMidnight();
    void positionTakenWhileNormal();
    void keys_data();
    void keys();
    void mouseButtons_data();
    void mouseButtons();
    void pressOnAnElementDoesNothing();
    void helpCommandAndF1OpenHelp();
    void closingStopsTheTick();
    void startPlaceIsAssertedOnceFramed();
    void startAppliesTheSettingsFile();
    void savedPositionAgainstTheScreen_data();
    void savedPositionAgainstTheScreen();
    void unknownLookIsKeptAndWrittenBack();
    void settingsWrittenAsTheyChangeAndAtClose();
    void closingBeforeANormalTickKeepsTheSavedPlace();
};

void TstClockWindow::windowAtCreation()
{
    Fixture c;
    ClockWindow &w = *c.window;
    QCOMPARE(w.objectName(), QStringLiteral("Lumitakt"));
    QCOMPARE(w.windowTitle(), QStringLiteral(" Lumitakt"));
    const Qt::WindowFlags flags = w.windowFlags();
    QVERIFY(flags & Qt::WindowStaysOnTopHint);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QCOMPARE(w.palette().color(QPalette::Window), QColor(0, 0, 0));
    QCOMPARE(w.windowIcon().availableSizes().value(0), QSize(16, 16));
    QVERIFY(c.fakes.commands.started.isEmpty());

    QTimer *timer = c.timer();
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 500);
    // Nothing but the window takes the focus.
    for (QWidget *child : w.findChildren<QWidget *>())
        if (child->parentWidget() == &w)
            QCOMPARE(child->focusPolicy(), Qt::NoFocus);
}

void TstClockWindow::segmentGeometry_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QList<int>>("leftTwips"); // positions 1..4
    QTest::addColumn<QRect>("sizeAndTopTwips");
    QTest::newRow("1") << 1 << QList<int>{180, 750, 1650, 2220} << QRect(0, 120, 420, 135);
    QTest::newRow("2") << 2 << QList<int>{150, 720, 1620, 2190} << QRect(0, 150, 135, 375);
    QTest::newRow("3") << 3 << QList<int>{495, 1065, 1965, 2535} << QRect(0, 150, 135, 375);
    QTest::newRow("4") << 4 << QList<int>{225, 795, 1695, 2265} << QRect(0, 465, 330, 135);
    QTest::newRow("5") << 5 << QList<int>{150, 720, 1620, 2190} << QRect(0, 540, 135, 375);
    QTest::newRow("6") << 6 << QList<int>{495, 1065, 1965, 2535} << QRect(0, 540, 135, 375);
    QTest::newRow("7") << 7 << QList<int>{180, 750, 1650, 2220} << QRect(0, 810, 420, 135);
}

void TstClockWindow::segmentGeometry()
{
    QFETCH(int, index);
    QFETCH(QList<int>, leftTwips);
    QFETCH(QRect, sizeAndTopTwips);
    Fixture c;
    for (int p = 1; p <= 4; ++p) {
        const QString name = QStringLiteral("Segment%1").arg(p);
        PictureElement *element = nullptr;
        for (PictureElement *candidate : c.window->findChildren<PictureElement *>(name))
            if (candidate->property("index").toInt() == index)
                element = candidate;
        QVERIFY(element);
        const QRect expected(leftTwips[p - 1] / 15, sizeAndTopTwips.y() / 15, sizeAndTopTwips.width() / 15,
                             sizeAndTopTwips.height() / 15);
        QCOMPARE(element->geometry(), expected);
        QVERIFY(!element->isHidden());
        // Green at creation, unscaled.
        QCOMPARE(imageOf(element->picture()), imageOf(test::storeSegment(c.stores, QStringLiteral("Muster2"), index)));
        QCOMPARE(element->picture().size(), element->size());
    }
    // Exactly seven elements in each array, indexed 1..7.
    QCOMPARE(c.window->findChildren<PictureElement *>(QStringLiteral("Segment1")).size(), 7);
    QCOMPARE(c.segment(1, 0), nullptr);
    QCOMPARE(c.segment(1, 8), nullptr);
    QCOMPARE(c.segment(5, 1), nullptr);
    QVERIFY(c.stores.segment(0, 0).isNull());
    QVERIFY(c.stores.segment(0, 8).isNull());
    QVERIFY(c.stores.segment(5, 1).isNull());
}

void TstClockWindow::colonAndLabels()
{
    Fixture c;
    ClockWindow &w = *c.window;
    PictureElement *colon = w.findChild<PictureElement *>(QStringLiteral("Trennzeichen"));
    QVERIFY(colon);
    QCOMPARE(colon->geometry(), QRect(1320 / 15, 300 / 15, 150 / 15, 465 / 15));
    QVERIFY(!colon->isHidden());
    QVERIFY(!colon->picture().hasAlphaChannel() || imageOf(colon->picture()).pixelColor(0, 15).alpha() == 255);
    QCOMPARE(imageOf(colon->picture()).pixel(0, 0), qRgb(0, 0, 0));
    QCOMPARE(imageOf(colon->picture()).pixel(4, 4), qRgb(0, 255, 0));

    struct Expected {
        const char *name;
        const char16_t *caption;
        QRect twips;
        Qt::Alignment align;
    };
    for (const Expected &e : {Expected{"lblTermin", u"Termin 00:00", QRect(180, 960, 1125, 225), Qt::AlignLeft},
                              Expected{"lblStopuhr", u"00:00", QRect(2160, 960, 495, 225), Qt::AlignRight}}) {
        QLabel *label = w.findChild<QLabel *>(QString::fromLatin1(e.name));
        QVERIFY(label);
        QCOMPARE(label->text(), QString::fromUtf16(e.caption));
        QCOMPARE(label->geometry(), QRect(e.twips.x() / 15, e.twips.y() / 15, e.twips.width() / 15, e.twips.height() / 15));
        QVERIFY(label->isHidden());
        QVERIFY(label->alignment() & e.align);
        QVERIFY(!label->autoFillBackground());
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(192, 192, 192));
        QCOMPARE(label->font().family(), QStringLiteral("Arial"));
        QCOMPARE(label->font().pixelSize(), 11);
        QVERIFY(!label->font().bold());
        QVERIFY(!label->wordWrap());
    }
}

void TstClockWindow::popupMenu()
{
    Fixture c;
    QMenu *menu = c.window->findChild<QMenu *>(QStringLiteral("Menu"));
    QVERIFY(menu);
    QVERIFY(!menu->isVisible());

    // name, caption ("-" for a separator), enabled
    using Entry = std::tuple<QString, QString, bool>;
    const auto entries = [](QMenu *m) {
        QList<Entry> list;
        for (QAction *a : m->actions()) {
            list.append({a->objectName(), a->isSeparator() ? QStringLiteral("-") : a->text(), a->isEnabled()});
        }
        return list;
    };
    const QList<Entry> top{
        {QStringLiteral("MenuTerminEingeben"), QStringLiteral("&Termin eingeben          "), true},
        {QStringLiteral("MenuTerminLöschen"), QStringLiteral("Termin l&öschen"), true},
        {QStringLiteral("Line1"), QStringLiteral("-"), true},
        {QStringLiteral("MenuStopuhrStarten"), QStringLiteral("Stopuhr &starten"), true},
        {QStringLiteral("MenuStopuhrAnhalten"), QStringLiteral("Stopuhr &anhalten"), false},
        {QStringLiteral("MenuStopuhrLöschen"), QStringLiteral("Stopuhr &löschen"), false},
        {QStringLiteral("L2"), QStringLiteral("-"), true},
        {QStringLiteral("MenuEigenschaften"), QStringLiteral("&Eigenschaften..."), true},
        {QStringLiteral("L4"), QStringLiteral("-"), true},
        {QStringLiteral("MenuEigenschaftenSynronisieren"), QStringLiteral("s&ynchronisieren"), true},
        {QStringLiteral("L5"), QStringLiteral("-"), true},
        {QStringLiteral("MenuHilfe"), QStringLiteral("&Hilfe"), true},
        {QStringLiteral("MenuInfo"), QStringLiteral("&Info über ..."), true},
        {QStringLiteral("L6"), QStringLiteral("-"), true},
        {QStringLiteral("MenuEigenschaftenMinimieren"), QStringLiteral("&minimieren"), true},
    };
    QCOMPARE(entries(menu), top);

    QMenu *sub = c.window->findChild<QMenu *>(QStringLiteral("MenuEigenschaften"));
    QVERIFY(sub);
    QCOMPARE(menu->actions().at(7)->menu(), sub);
    QList<Entry> subEntries{
        {QStringLiteral("MenuTerminSignal"), QStringLiteral("Termin signalisieren..."), true},
        {QStringLiteral("L7"), QStringLiteral("-"), true},
    };
    for (const test::DocumentedLook &look : test::kDocumentedLooks)
        subEntries.append({QString::fromUtf16(look.menuItem), QString::fromUtf16(look.menuCaption), true});
    subEntries.append({QStringLiteral("L3"), QStringLiteral("-"), true});
    subEntries.append({QStringLiteral("MenuEigenschaftenSynronisierenMit"), QStringLiteral("synchronisieren mit ..."), true});
    QCOMPARE(entries(sub), subEntries);

    // No check marks and no shortcut keys anywhere.
    for (QAction *a : menu->findChildren<QAction *>()) {
        QVERIFY2(!a->isCheckable(), qPrintable(a->objectName()));
        QVERIFY2(a->shortcut().isEmpty(), qPrintable(a->objectName()));
    }
}

void TstClockWindow::startsWithTheDefaults()
{
    Fixture c(QDateTime(QDate(2026, 12, 6), QTime(14, 5, 33)));
    // Without a settings file: the defaults.
    QCOMPARE(c.model->settings(), ClockSettings());
    QCOMPARE(c.model->settings().look, QStringLiteral("rot"));
    QCOMPARE(c.model->settings().signalMode, std::int16_t{1});
    QVERIFY(!c.model->appointment().isSet());
    QCOMPARE(c.model->stopwatch().state(), Stopwatch::State::Cleared);
    QCOMPARE(c.model->stopwatch().minutes(), 0);
    QCOMPARE(c.window->pos(), QPoint(0, 0));
}

void TstClockWindow::activationSizeAndLabels_data()
{
    QTest::addColumn<bool>("appointment");
    QTest::addColumn<bool>("stopwatch");
    QTest::addColumn<int>("height");
    QTest::newRow("neither") << false << false << 96;
    QTest::newRow("appointment") << true << false << 105;
    QTest::newRow("stopwatch") << false << true << 105;
    QTest::newRow("both") << true << true << 105;
}

void TstClockWindow::activationSizeAndLabels()
{
    QFETCH(bool, appointment);
    QFETCH(bool, stopwatch);
    QFETCH(int, height);
    Fixture c;
    c.window->show();
    QCOMPARE(c.window->frameGeometry().size(), QSize(200, 96));
    if (appointment)
        c.controller->setAppointment(QTime(7, 30), QString());
    if (stopwatch)
        c.controller->startStopwatch();
    c.controller->userReturned();
    QCOMPARE(c.window->frameGeometry().size(), QSize(200, height));
    QCOMPARE(c.appointmentLabel()->isHidden(), !appointment);
    QCOMPARE(c.appointmentLabel()->text(), appointment ? QStringLiteral("Termin   07:30") : QStringLiteral("Termin   "));
    QCOMPARE(c.stopwatchLabel()->isHidden(), !stopwatch);
    // The user cannot resize it.
    QCOMPARE(c.window->minimumSize(), c.window->maximumSize());

    // Back to nothing shown: short again.
    c.controller->deleteAppointment();
    c.controller->clearStopwatch();
    QCOMPARE(c.window->frameGeometry().size(), QSize(200, 96));
    QVERIFY(c.appointmentLabel()->isHidden());
    QVERIFY(c.stopwatchLabel()->isHidden());
}

void TstClockWindow::activationEnablesSynchronise()
{
    Fixture c;
    QAction *sync = c.item("MenuEigenschaftenSynronisieren");
    c.window->show();
    QVERIFY(!sync->isEnabled());
    c.controller->chooseTimeServer(QStringLiteral("ZEIT01"));
    QVERIFY(sync->isEnabled());
    c.controller->chooseTimeServer(QStringLiteral(" ")); // blanks name no server
    QVERIFY(!sync->isEnabled());
    c.controller->chooseTimeServer(QStringLiteral("ZEIT01"));
    c.controller->chooseTimeServer(QString());
    QVERIFY(!sync->isEnabled());
}

void TstClockWindow::activationAppliesLook()
{
    Fixture c(test::at(QTime(14, 5, 33)), Fixture::Hidden, "blau\r\n 0 \r\n 0 \r\n\r\n 1 \r\n");
    QCOMPARE(imageOf(c.segment(1, 1)->picture()),
             imageOf(test::storeSegment(c.stores, QStringLiteral("Muster2"), 1)));
    c.window->show();
    QCOMPARE(imageOf(c.segment(1, 1)->picture()),
             imageOf(test::storeSegment(c.stores, QStringLiteral("Muster3"), 1)));
    QCOMPARE(c.appointmentLabel()->palette().color(QPalette::WindowText), QColor(0x00, 0x80, 0x80));
}

void TstClockWindow::colourCommands_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("look");
    QTest::addColumn<QString>("segmentStore");
    QTest::addColumn<QString>("colonStore");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("labelText");
    // Colours as the window system stores them: red in the lowest byte.
    const auto colour = [](int stored) { return QColor(stored & 0xFF, (stored >> 8) & 0xFF, (stored >> 16) & 0xFF); };
    for (const test::DocumentedLook &look : test::kDocumentedLooks)
        QTest::newRow(QString::fromUtf16(look.menuCaption).trimmed().toUtf8().constData())
            << QString::fromUtf16(look.menuItem) << QString::fromUtf16(look.name) << QString::fromUtf16(look.segmentStore)
            << QString::fromUtf16(look.colonStore) << colour(look.background) << colour(look.labelText);
}

void TstClockWindow::colourCommands()
{
    QFETCH(QString, item);
    QFETCH(QString, look);
    QFETCH(QString, segmentStore);
    QFETCH(QString, colonStore);
    QFETCH(QColor, background);
    QFETCH(QColor, labelText);
    Fixture c;
    c.window->show();
    QAction *action = c.item(item.toUtf8().constData());
    QVERIFY(action);
    action->trigger();
    QCOMPARE(c.model->settings().look, look);
        for (int j = 1; j <= 7; ++j)
        for (int p = 1; p <= 4; ++p)
            QCOMPARE(imageOf(c.segment(p, j)->picture()), imageOf(test::storeSegment(c.stores, segmentStore, j)));
    QCOMPARE(imageOf(c.colon()->picture()), imageOf(test::storeColon(c.stores, colonStore)));
    QCOMPARE(c.window->palette().color(QPalette::Window), background);
    QCOMPARE(c.appointmentLabel()->palette().color(QPalette::WindowText), labelText);
    QCOMPARE(c.stopwatchLabel()->palette().color(QPalette::WindowText), labelText);
    // No item carries a mark for the look in use.
    for (QAction *a : c.menu()->findChildren<QAction *>())
        QVERIFY(!a->isChecked());
}

void TstClockWindow::notALookChangesNothing_data()
{
    QTest::addColumn<QString>("name");
    for (const char16_t *name : {u"Rot", u"ROT", u"LCDLight", u" rot", u"", u"grun", u"gruen"})
        QTest::newRow(QString::fromUtf16(name).toUtf8().constData()) << QString::fromUtf16(name);
}

void TstClockWindow::notALookChangesNothing()
{
    QFETCH(QString, name);
    Fixture c;
    c.window->show();
    c.trigger("MenuEigenschaftenLCD");
    const QImage before = c.window->grab().toImage();
    // An unknown name kept from the settings file is left as it is and applies nothing.
    c.controller->chooseLook(name);
    QCOMPARE(c.model->settings().look, name);
    QCOMPARE(c.window->grab().toImage(), before);
    QCOMPARE(c.window->palette().color(QPalette::Window), QColor(0xDC, 0xE7, 0x58));
}

void TstClockWindow::lookChangeKeepsLitSegmentsAndColonPhase()
{
    Fixture c;
    c.window->show();
    c.tickAt(QTime(7, 5, 30)); // colon now hidden
    QVERIFY(c.colon()->isHidden());
    const QString lit[4] = {c.litSegments(1), c.litSegments(2), c.litSegments(3), c.litSegments(4)};
    c.trigger("MenuEigenschaftenLCD");
    QVERIFY(c.colon()->isHidden());
    for (int p = 1; p <= 4; ++p)
        QCOMPARE(c.litSegments(p), lit[p - 1]);
    // From LCD to lit LCD only the background changes.
    const QImage lcdDigit = imageOf(c.segment(4, 1)->picture());
    c.trigger("MenuEigenschaftenLCDlight");
    QCOMPARE(imageOf(c.segment(4, 1)->picture()), lcdDigit);
    QCOMPARE(c.window->palette().color(QPalette::Window), QColor(0x00, 0x80, 0x00));
    QCOMPARE(c.appointmentLabel()->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    // And the next tick shows the colon in its new picture.
    c.tickAt(QTime(7, 5, 30, 500));
    QVERIFY(!c.colon()->isHidden());
    QCOMPARE(imageOf(c.colon()->picture()),
             imageOf(test::storeColon(c.stores, QStringLiteral("TrennzeichenLCD"))));
}

void TstClockWindow::tickDrawsDigits_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QStringList>("lit"); // segments 1..7 per position
    const auto &d = test::litDigits();
    QTest::newRow("07:05:30") << QTime(7, 5, 30) << QStringList{d[0], d[7], d[0], d[5]};
    QTest::newRow("00:00:00") << QTime(0, 0, 0) << QStringList{d[0], d[0], d[0], d[0]};
    QTest::newRow("23:59:59") << QTime(23, 59, 59) << QStringList{d[2], d[3], d[5], d[9]};
    QTest::newRow("09:05:12") << QTime(9, 5, 12) << QStringList{d[0], d[9], d[0], d[5]};
    QTest::newRow("18:46:00") << QTime(18, 46, 0) << QStringList{d[1], d[8], d[4], d[6]};
}

void TstClockWindow::tickDrawsDigits()
{
    QFETCH(QTime, time);
    QFETCH(QStringList, lit);
    Fixture c;
    c.window->show();
    c.tickAt(time);
    for (int p = 1; p <= 4; ++p)
        QCOMPARE(c.litSegments(p), lit[p - 1]);
    // The same time again changes nothing.
    c.tickAt(time);
    for (int p = 1; p <= 4; ++p)
        QCOMPARE(c.litSegments(p), lit[p - 1]);
}

void TstClockWindow::drawingLeavesOnlyThePattern()
{
    Fixture c;
    c.tickAt(QTime(8, 0));
    QCOMPARE(c.litSegments(2), QStringLiteral("1111111"));
    c.tickAt(QTime(1, 0));
    QCOMPARE(c.litSegments(2), QStringLiteral("0010010"));
    // A drawing changes no picture.
    QCOMPARE(imageOf(c.segment(2, 3)->picture()),
             imageOf(test::storeSegment(c.stores, QStringLiteral("Muster2"), 3)));
}

void TstClockWindow::colonBlinks()
{
    Fixture c;
    c.window->show();
    QTime t(12, 0, 0);
    bool hidden = c.colon()->isHidden();
    for (int i = 0; i < 6; ++i) {
        c.tickAt(t);
        QCOMPARE(c.colon()->isHidden(), !hidden);
        hidden = !hidden;
        // Independent of the time: a tick with the same time still toggles.
        if (i % 2)
            t = t.addMSecs(500);
    }
}

void TstClockWindow::oneTickReadsTheClockOnce()
{
    // Digits, caption and every later step must see one and the same moment:
    // reading the clock per digit could show 09:00 or 10:59 at 09:59:59.9.
    Fixture c(QDateTime(QDate(2026, 12, 6), QTime(9, 59, 59, 900)));
    c.window->show();
    const int before = c.fakes.clock.reads;
    c.tick();
    QCOMPARE(c.fakes.clock.reads, before + 1);
}

void TstClockWindow::returnFromOwnWindowActivates()
{
    Fixture c;
    c.window->show();
    c.window->activateWindow();
    QVERIFY(QTest::qWaitFor([&] { return c.window->isActiveWindow(); }));
    QCOMPARE(c.window->frameGeometry().height(), 96);

    // Another window of the program takes over (as a dialog does) ...
    QWidget dialog;
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitFor([&] { return dialog.isActiveWindow(); }));
    c.controller->setAppointment(QTime(7, 30), QString());
    QCOMPARE(c.window->frameGeometry().height(), 96);

    // ... and the return to the clock runs the activation, once.
    c.window->activateWindow();
    QVERIFY(QTest::qWaitFor([&] { return c.window->isActiveWindow(); }));
    QCOMPARE(c.window->frameGeometry().height(), 105);
    QVERIFY(!c.appointmentLabel()->isHidden());
}

void TstClockWindow::captionFollowsWindowState()
{
    Fixture c(QDateTime(QDate(2026, 12, 6), QTime(14, 5, 33)));
    c.window->show();
    c.tick();
    QCOMPARE(c.window->windowTitle(), QStringLiteral("  06. Dezember 2026"));
    c.window->showMinimized();
    c.tick();
    QCOMPARE(c.window->windowTitle(), QStringLiteral("  06. Dez. 26   14:05"));
    c.window->showNormal();
    c.tick();
    QCOMPARE(c.window->windowTitle(), QStringLiteral("  06. Dezember 2026"));
}

void TstClockWindow::captionAtMidnight()
{
    Fixture c(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59, 700)));
    c.window->show();
    c.tick();
    QCOMPARE(c.window->windowTitle(), QStringLiteral("  31. Dezember 2026"));
    QCOMPARE(c.litSegments(1), QStringLiteral("1011101"));
    c.fakes.clock.advance(500);
    c.tick();
    QCOMPARE(c.window->windowTitle(), QStringLiteral("  01. Januar 2027"));
    for (int p = 1; p <= 4; ++p)
        QCOMPARE(c.litSegments(p), QStringLiteral("1110111"));
}

void TstClockWindow::positionTakenWhileNormal()
{
    Fixture c;
    c.window->show();
    c.tick(); // the first tick settles the start place
    c.window->move(30, 40);
    c.tick();
    QCOMPARE(c.model->settings().place, QPoint(30, 40));
    c.window->showMinimized();
    c.window->move(300, 400);
    c.tick();
    QCOMPARE(c.model->settings().place, QPoint(30, 40));
}

void TstClockWindow::keys_data()
{
    // A typed character, or else a key with its modifiers.
    QTest::addColumn<char>("character");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("menu");
    QTest::addColumn<bool>("minimised");
    QTest::newRow("M opens the menu") << 'M' << 0 << 0 << true << false;
    QTest::newRow("m minimises") << 'm' << 0 << 0 << false << true;
    QTest::newRow("x does nothing") << 'x' << 0 << 0 << false << false;
    QTest::newRow("N does nothing") << 'N' << 0 << 0 << false << false;
    QTest::newRow("the menu key opens the menu") << '\0' << int{Qt::Key_Menu} << 0 << true << false;
    QTest::newRow("Shift+F10 opens the menu") << '\0' << int{Qt::Key_F10} << int{Qt::ShiftModifier} << true << false;
    QTest::newRow("F10 alone does nothing") << '\0' << int{Qt::Key_F10} << 0 << false << false;
}

void TstClockWindow::keys()
{
    QFETCH(char, character);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, menu);
    QFETCH(bool, minimised);
    Fixture c;
    c.window->show();
    if (character)
        QTest::keyClick(c.window.get(), character);
    else
        QTest::keyClick(c.window.get(), static_cast<Qt::Key>(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(c.menu()->isVisible(), menu);
    QCOMPARE(c.window->isMinimized(), minimised);
    // Opened from the keyboard, its first item is active, to be read at once.
    if (menu)
        QCOMPARE(c.menu()->activeAction(), c.item("MenuTerminEingeben"));
    c.menu()->hide();
}

void TstClockWindow::mouseButtons_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("menu");
    QTest::addColumn<bool>("minimised");
    QTest::newRow("left minimises") << Qt::LeftButton << false << true;
    QTest::newRow("right opens the menu") << Qt::RightButton << true << false;
    QTest::newRow("middle opens the menu") << Qt::MiddleButton << true << false;
}

void TstClockWindow::mouseButtons()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, menu);
    QFETCH(bool, minimised);
    Fixture c;
    c.window->show();
    // Between the colon and the third digit: the window's own surface.
    const QPoint surface(102, 40);
    QCOMPARE(c.window->childAt(surface), nullptr);
    // At once on the press, before any release.
    QTest::mousePress(c.window.get(), button, {}, surface);
    QCOMPARE(c.menu()->isVisible(), menu);
    QCOMPARE(c.window->isMinimized(), minimised);
    QCOMPARE(c.menu()->activeAction(), nullptr);
    c.menu()->hide();
}

void TstClockWindow::pressOnAnElementDoesNothing()
{
    Fixture c;
    c.window->show();
    const QPoint onSegment = c.segment(1, 2)->geometry().center();
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        QTest::mousePress(c.segment(1, 2), button, {}, c.segment(1, 2)->rect().center());
        QVERIFY(!c.window->isMinimized());
        QVERIFY(!c.menu()->isVisible());
        QTest::mouseRelease(c.segment(1, 2), button, {}, c.segment(1, 2)->rect().center());
    }
    // Once the segment is dark, the same place is the window's surface.
    c.tickAt(QTime(10, 0)); // a 1 in the first place
    QTest::mousePress(c.window.get(), Qt::LeftButton, {}, onSegment);
    QVERIFY(c.window->isMinimized());
}

void TstClockWindow::helpCommandAndF1OpenHelp()
{
    Fixture c;
    c.window->show();
    c.item("MenuHilfe")->trigger();
    // The key is delivered later, like a typed F1.
    QVERIFY(c.fakes.help.opened.isEmpty());
    QVERIFY(QTest::qWaitFor([&] { return !c.fakes.help.opened.isEmpty(); }));
    QCOMPARE(c.fakes.help.opened, QStringList{c.helpFile()});
    QTest::keyClick(c.window.get(), Qt::Key_F1);
    QCOMPARE(c.fakes.help.opened.size(), 2);
    QVERIFY(!c.window->isMinimized());
    // Other function keys are not help.
    QTest::keyClick(c.window.get(), Qt::Key_F2);
    QCOMPARE(c.fakes.help.opened.size(), 2);
}

void TstClockWindow::startPlaceIsAssertedOnceFramed()
{
    Fixture c(test::at(QTime(14, 5, 33)), Fixture::Hidden, "rot\r\n 450 \r\n 600 \r\n\r\n 1 \r\n");
    c.window->show();
    // The window system put it elsewhere while framing it: the first tick
    // brings it to the place of the settings file ...
    c.window->move(200, 200);
    c.tick();
    QCOMPARE(c.window->pos(), QPoint(30, 40));
    // ... once; from then on the window stays where it is moved.
    c.window->move(200, 200);
    c.tick();
    QCOMPARE(c.window->pos(), QPoint(200, 200));
    QCOMPARE(c.model->settings().place, QPoint(200, 200));
}

void TstClockWindow::closingStopsTheTick()
{
    Fixture c;
    c.window->show();
    c.timer()->start();
    QVERIFY(c.window->close());
    QVERIFY(!c.timer()->isActive());
}

void TstClockWindow::startAppliesTheSettingsFile()
{
    Fixture c(test::at(QTime(14, 5, 33)), Fixture::Hidden, "blau\r\n 450 \r\n 600 \r\nZEIT01\r\n 0 \r\n");
    QCOMPARE(c.model->settings(), (ClockSettings{QStringLiteral("blau"), QPoint(30, 40), QStringLiteral("ZEIT01"), 0}));
    QCOMPARE(c.window->pos(), QPoint(30, 40));
    c.window->show();
    QCOMPARE(imageOf(c.segment(1, 1)->picture()), imageOf(test::storeSegment(c.stores, QStringLiteral("Muster3"), 1)));
    QVERIFY(c.item("MenuEigenschaftenSynronisieren")->isEnabled());

    // A damaged file: what can be read is taken, the rest keeps its default.
    Fixture d(test::at(QTime(14, 5, 33)), Fixture::Hidden, "LCD\r\n abc \r\n");
    QCOMPARE(d.model->settings().look, QStringLiteral("LCD"));
    QCOMPARE(d.model->settings().signalMode, std::int16_t{1});
    QCOMPARE(d.window->pos(), QPoint(0, 0));
}

void TstClockWindow::savedPositionAgainstTheScreen_data()
{
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size() * 15;
    const int leftLimit = screen.width() - 2940;
    const int topLimit = screen.height() - 1470;
    QTest::addColumn<QPoint>("saved");
    QTest::addColumn<QPoint>("placed"); // pixels
    QTest::newRow("inside") << QPoint(450, 600) << QPoint(30, 40);
    QTest::newRow("left at the limit stays") << QPoint(leftLimit, 600) << QPoint(leftLimit / 15, 40);
    QTest::newRow("one twip more") << QPoint(leftLimit + 1, 600) << QPoint(0, 40);
    QTest::newRow("top at the limit stays") << QPoint(450, topLimit) << QPoint(30, topLimit / 15);
    QTest::newRow("top one twip more") << QPoint(450, topLimit + 1) << QPoint(30, 0);
    QTest::newRow("negative top") << QPoint(450, -15) << QPoint(30, 0);
}

void TstClockWindow::savedPositionAgainstTheScreen()
{
    QFETCH(QPoint, saved);
    QFETCH(QPoint, placed);
    Fixture c(test::at(QTime(14, 5, 33)), Fixture::Hidden,
              QStringLiteral("rot\r\n%1\r\n%2\r\n\r\n 1 \r\n").arg(saved.x()).arg(saved.y()).toLatin1());
    QCOMPARE(c.window->pos(), placed);
}

void TstClockWindow::unknownLookIsKeptAndWrittenBack()
{
    // A UTF-8 "grün" is no look name: nothing is applied, and the same
    // bytes go back into the file.
    const QByteArray ini("gr\xC3\xBCn\r\n 0 \r\n 0 \r\n\r\n 1 \r\n");
    Fixture c(test::at(QTime(14, 5, 33)), Fixture::Hidden, ini);
    c.window->show();
    QCOMPARE(imageOf(c.segment(1, 1)->picture()), imageOf(test::storeSegment(c.stores, QStringLiteral("Muster2"), 1)));
    QCOMPARE(c.window->palette().color(QPalette::Window), QColor(0, 0, 0));
    c.window->close();
    QCOMPARE(c.iniFile(), ini);
}

void TstClockWindow::settingsWrittenAsTheyChangeAndAtClose()
{
    Fixture c;
    QVERIFY(c.iniFile().isEmpty());
    c.window->show();
    // A look, a time server or a signal mode chosen is in the file at once,
    // a moved place once it has settled.
    c.trigger("MenuEigenschaftenLEDgrün");
    QCOMPARE(c.iniFile(), QByteArray("gr\xFCn\r\n 0 \r\n 0 \r\n\r\n 1 \r\n"));
    c.controller->chooseTimeServer(QStringLiteral("zeit, eins"));
    c.controller->chooseSignalMode(0);
    QCOMPARE(c.iniFile(), QByteArray("gr\xFCn\r\n 0 \r\n 0 \r\n\"zeit, eins\"\r\n 0 \r\n"));
    c.tick();
    c.window->move(20, 30);
    for (int i = 0; i < 5; ++i)
        c.tick();
    QCOMPARE(c.iniFile(), QByteArray("gr\xFCn\r\n 300 \r\n 450 \r\n\"zeit, eins\"\r\n 0 \r\n"));
    c.window->showMinimized();
    c.window->move(100, 100); // minimised: the tick keeps the last normal place
    c.tick();
    c.window->close();
    QCOMPARE(c.iniFile(), QByteArray("gr\xFCn\r\n 300 \r\n 450 \r\n\"zeit, eins\"\r\n 0 \r\n"));

    // The next start finds everything as it was.
    Fixture next(test::at(QTime(14, 5, 33)), Fixture::Hidden, c.iniFile());
    QCOMPARE(next.model->settings(), (ClockSettings{QStringLiteral("grün"), QPoint(20, 30), QStringLiteral("zeit, eins"), 0}));
    QCOMPARE(next.window->pos(), QPoint(20, 30));
}

void TstClockWindow::closingBeforeANormalTickKeepsTheSavedPlace()
{
    // 1000 twips is no whole pixel: the window stands at 67 px, and the
    // place goes back into the file as it was read.
    const QByteArray ini("rot\r\n 1000 \r\n 1210 \r\nZEIT01\r\n 1 \r\n");
    Fixture c(test::at(QTime(14, 5, 33)), Fixture::Hidden, ini);
    c.window->showMinimized();
    c.tick();
    QVERIFY(c.window->close());
    QCOMPARE(c.iniFile(), ini);
}

void TstClockWindow::dialogsShareTheProgramIcon_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("enter") << QStringLiteral("MenuTerminEingeben");
    QTest::newRow("signal") << QStringLiteral("MenuTerminSignal");
    QTest::newRow("time server") << QStringLiteral("MenuEigenschaftenSynronisierenMit");
    QTest::newRow("about") << QStringLiteral("MenuInfo");
}

void TstClockWindow::dialogsShareTheProgramIcon()
{
    // Every window shows the one program icon; one made anew for each dialog
    // would leave an entry in Qt's pixmap cache each time it opens.
    QFETCH(QString, command);
    test::ClockFixture c(QTime(8, 0));
    const qint64 icon = c.window->windowIcon().cacheKey();
    QCOMPARE(c.window->windowIcon().availableSizes().value(0), QSize(16, 16));
    for (int i = 0; i < 2; ++i) {
        c.trigger(command.toUtf8().constData());
        QWidget *dialog = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w != c.window.get() && w->isVisible() && !qobject_cast<QMenu *>(w))
                dialog = w;
        QVERIFY(dialog);
        QCOMPARE(dialog->windowIcon().cacheKey(), icon);
        dialog->close();
        c.settle();
    }
}

QTEST_MAIN(TstClockWindow)
#include "tst_clockwindow.moc"
