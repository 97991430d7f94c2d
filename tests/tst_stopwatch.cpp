#include "mainwindow/lumitakt.h"
#include "stopwatch/stopuhr.h"
#include "support/clockfixture.h"

#include <QAction>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace lumitakt;

namespace {

struct Fixture : test::ClockFixture {
    explicit Fixture(QTime start) : ClockFixture(start, Shown) {}
    QString label() const { return window->lblStopuhr()->text(); }
    bool labelShown() const { return !window->lblStopuhr()->isHidden(); }
    QString menu() const
    {
        // "starten anhalten löschen" enabled as 1/0, then the halt caption.
        const auto on = [&](const char *name) { return item(name)->isEnabled() ? u'1' : u'0'; };
        return QString(on("MenuStopuhrStarten")) + on("MenuStopuhrAnhalten") + on("MenuStopuhrLöschen") + u' '
               + item("MenuStopuhrAnhalten")->text();
    }
};

} // namespace

class TstStopwatch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        test::quietOffscreen();
    }
    void labelText_data();
    void labelText();
    void commandsThroughTheStates();
    void firstCountAfterStart_data();
    void firstCountAfterStart();
    void haltedMinutesAreNotCounted();
    void blinksWhileHalted();
    void jumpsOfTheClockCountOne_data();
    void jumpsOfTheClockCountOne();
    void longRunsDoNotWrap();
    void activationWhileHaltedHidesTheRow();
    void clearKeepsTheTallWindowForAnAppointment();
};

void TstStopwatch::labelText_data()
{
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QString>("text");
    QTest::newRow("1") << 1 << QStringLiteral("0:01");
    QTest::newRow("59") << 59 << QStringLiteral("0:59");
    QTest::newRow("60") << 60 << QStringLiteral("1:00");
    QTest::newRow("605") << 605 << QStringLiteral("10:05");
    QTest::newRow("24 hours") << 1440 << QStringLiteral("24:00");
    QTest::newRow("25 hours") << 1500 << QStringLiteral("25:00");
    QTest::newRow("100000") << 100000 << QStringLiteral("1666:40");
}

void TstStopwatch::labelText()
{
    QFETCH(int, minutes);
    QFETCH(QString, text);
    QCOMPARE(Stopuhr::text(minutes), text);
}

void TstStopwatch::commandsThroughTheStates()
{
    Fixture c(QTime(10, 0, 0));
    QCOMPARE(c.menu(), QStringLiteral("100 Stopuhr &anhalten"));
    QCOMPARE(c.height(), 96);

    c.trigger("MenuStopuhrStarten");
    QVERIFY(c.state.StopuhrLaeuft && !c.state.StopuhrAngehalten);
    QCOMPARE(c.menu(), QStringLiteral("011 Stopuhr &anhalten"));
    QCOMPARE(c.height(), 105);
    QVERIFY(c.labelShown());
    QCOMPARE(c.label(), QStringLiteral("00:00"));

    c.trigger("MenuStopuhrAnhalten");
    QVERIFY(!c.state.StopuhrLaeuft && c.state.StopuhrAngehalten);
    QCOMPARE(c.menu(), QStringLiteral("010 Stopuhr weiterlaufen..."));
    QCOMPARE(c.height(), 105); // no activation: the window keeps its height

    c.trigger("MenuStopuhrAnhalten");
    QVERIFY(c.state.StopuhrLaeuft && !c.state.StopuhrAngehalten);
    QCOMPARE(c.menu(), QStringLiteral("011 Stopuhr anhalten"));

    c.tickUntil(QTime(10, 2, 0));
    QCOMPARE(c.label(), QStringLiteral("0:02"));
    c.trigger("MenuStopuhrLöschen");
    QVERIFY(!c.state.StopuhrLaeuft && !c.state.StopuhrAngehalten);
    QCOMPARE(c.menu(), QStringLiteral("100 Stopuhr anhalten"));
    QCOMPARE(c.label(), QStringLiteral("00:00"));
    QVERIFY(!c.labelShown());
    QCOMPARE(c.height(), 96);
    QCOMPARE(c.window->stopuhr().StopuhrMinuten(), 0);

    // Cleared, the tick neither counts nor shows anything.
    c.tickUntil(QTime(10, 5, 0));
    QCOMPARE(c.label(), QStringLiteral("00:00"));
    QVERIFY(!c.labelShown());

    // A new start counts from nothing again.
    c.trigger("MenuStopuhrStarten");
    c.tickUntil(QTime(10, 6, 0));
    QCOMPARE(c.label(), QStringLiteral("0:01"));
}

void TstStopwatch::firstCountAfterStart_data()
{
    QTest::addColumn<QTime>("start");
    QTest::addColumn<QTime>("lastUncounted");
    QTest::addColumn<QTime>("firstCounted");
    // The first minute may come after only one second ...
    QTest::newRow("10:00:59") << QTime(10, 0, 59) << QTime(10, 0, 59, 500) << QTime(10, 1, 0);
    // ... and never before the next full minute.
    QTest::newRow("10:00:00.2") << QTime(10, 0, 0, 200) << QTime(10, 0, 59, 700) << QTime(10, 1, 0, 200);
}

void TstStopwatch::firstCountAfterStart()
{
    QFETCH(QTime, start);
    QFETCH(QTime, lastUncounted);
    QFETCH(QTime, firstCounted);
    Fixture c(QTime(9, 58, 0));
    c.tickUntil(start.addMSecs(-start.msec()));
    c.fakes.clock.set(start);
    c.trigger("MenuStopuhrStarten");
    c.tickUntil(lastUncounted);
    QCOMPARE(c.label(), QStringLiteral("00:00"));
    c.tickUntil(firstCounted);
    QCOMPARE(c.label(), QStringLiteral("0:01"));
}

void TstStopwatch::haltedMinutesAreNotCounted()
{
    Fixture c(QTime(10, 0, 0, 200));
    c.trigger("MenuStopuhrStarten");
    c.tickUntil(QTime(10, 5, 30, 200));
    QCOMPARE(c.label(), QStringLiteral("0:05"));
    c.trigger("MenuStopuhrAnhalten");
    c.tickUntil(QTime(10, 8, 10, 200));
    c.trigger("MenuStopuhrAnhalten");
    c.tickUntil(QTime(10, 8, 59, 700));
    QCOMPARE(c.label(), QStringLiteral("0:05"));
    c.tickUntil(QTime(10, 9, 0, 200));
    QCOMPARE(c.label(), QStringLiteral("0:06"));
}

void TstStopwatch::blinksWhileHalted()
{
    Fixture c(QTime(10, 0, 0));
    c.trigger("MenuStopuhrStarten");
    c.trigger("MenuStopuhrAnhalten");
    bool shown = c.labelShown();
    for (int i = 0; i < 6; ++i) {
        c.tickUntil(c.fakes.clock.now().time().addMSecs(500));
        QCOMPARE(c.labelShown(), !shown);
        shown = !shown;
    }
    // Continued, it stays shown, whatever phase the blinking was in.
    c.trigger("MenuStopuhrAnhalten");
    for (int i = 0; i < 3; ++i) {
        c.tickUntil(c.fakes.clock.now().time().addMSecs(500));
        QVERIFY(c.labelShown());
    }
}

void TstStopwatch::jumpsOfTheClockCountOne_data()
{
    QTest::addColumn<QTime>("from");
    QTest::addColumn<QTime>("to");
    QTest::newRow("midnight") << QTime(23, 59, 59, 800) << QTime(0, 0, 0, 300);
    QTest::newRow("clock set back an hour") << QTime(10, 30, 10) << QTime(9, 30, 10);
    QTest::newRow("clock set forward") << QTime(10, 30, 10) << QTime(16, 45, 0);
}

void TstStopwatch::jumpsOfTheClockCountOne()
{
    QFETCH(QTime, from);
    QFETCH(QTime, to);
    Fixture c(from);
    c.trigger("MenuStopuhrStarten");
    c.tickAt(from);
    c.tickAt(to);
    QCOMPARE(c.label(), QStringLiteral("0:01"));
    c.tickAt(to.addMSecs(500));
    QCOMPARE(c.label(), QStringLiteral("0:01"));
}

void TstStopwatch::longRunsDoNotWrap()
{
    Fixture c(QTime(8, 0, 0));
    c.trigger("MenuStopuhrStarten");
    QTime t(8, 0, 0);
    for (int minute = 1; minute <= 1500; ++minute) {
        t = t.addSecs(60);
        c.tickAt(t);
        if (minute == 605)
            QCOMPARE(c.label(), QStringLiteral("10:05"));
    }
    QCOMPARE(c.label(), QStringLiteral("25:00"));
    QCOMPARE(c.window->stopuhr().StopuhrMinuten(), 1500);
}

void TstStopwatch::activationWhileHaltedHidesTheRow()
{
    Fixture c(QTime(10, 0, 0));
    c.trigger("MenuStopuhrStarten");
    c.trigger("MenuStopuhrAnhalten");
    // Back from a dialog: the halted stopwatch does not keep the window tall.
    c.window->Form_Activate();
    QCOMPARE(c.height(), 96);
    QVERIFY(!c.labelShown());
    // The blinking goes on, out of view.
    c.tickUntil(QTime(10, 0, 0, 500));
    QVERIFY(c.labelShown());
    QCOMPARE(c.height(), 96);
    // Continuing does not activate: still short until the next activation.
    c.trigger("MenuStopuhrAnhalten");
    QCOMPARE(c.height(), 96);
    c.window->Form_Activate();
    QCOMPARE(c.height(), 105);
}

void TstStopwatch::clearKeepsTheTallWindowForAnAppointment()
{
    Fixture c(QTime(10, 0, 0));
    c.state.TerminGesetzt = true;
    c.state.TerminZeit = QStringLiteral("11:00");
    c.trigger("MenuStopuhrStarten");
    c.trigger("MenuStopuhrLöschen");
    QCOMPARE(c.height(), 105);
    QVERIFY(!c.labelShown());
    QVERIFY(!c.window->lblTermin()->isHidden());
}

QTEST_MAIN(TstStopwatch)
#include "tst_stopwatch.moc"
