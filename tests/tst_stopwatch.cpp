#include "support/clockfixture.h"

#include <QTest>

#include <memory>

using namespace lumitakt;

namespace {

struct Fixture : test::ClockFixture {
    explicit Fixture(QTime start) : ClockFixture(start, Shown) {}
    QString label() const { return stopwatchLabel()->text(); }
    bool labelShown() const { return !stopwatchLabel()->isHidden(); }
    QString menuState() const
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
    void commandsThroughTheStates();
    void blinksWhileHalted();
    void activationWhileHaltedHidesTheRow();
    void clearKeepsTheTallWindowForAnAppointment();
};

void TstStopwatch::commandsThroughTheStates()
{
    Fixture c(QTime(10, 0, 0));
    QCOMPARE(c.menuState(), QStringLiteral("100 Stopuhr &anhalten"));
    QCOMPARE(c.height(), 96);

    c.trigger("MenuStopuhrStarten");
    QCOMPARE(c.model->stopwatch().state(), Stopwatch::State::Running);
    QCOMPARE(c.menuState(), QStringLiteral("011 Stopuhr &anhalten"));
    QCOMPARE(c.height(), 105);
    QVERIFY(c.labelShown());
    QCOMPARE(c.label(), QStringLiteral("00:00"));

    c.trigger("MenuStopuhrAnhalten");
    QCOMPARE(c.model->stopwatch().state(), Stopwatch::State::Halted);
    QCOMPARE(c.menuState(), QStringLiteral("010 Stopuhr weiterlaufen..."));
    QCOMPARE(c.height(), 105); // no activation: the window keeps its height

    c.trigger("MenuStopuhrAnhalten");
    QCOMPARE(c.model->stopwatch().state(), Stopwatch::State::Running);
    QCOMPARE(c.menuState(), QStringLiteral("011 Stopuhr anhalten"));

    c.tickUntil(QTime(10, 2, 0));
    QCOMPARE(c.label(), QStringLiteral("0:02"));
    c.trigger("MenuStopuhrLöschen");
    QCOMPARE(c.model->stopwatch().state(), Stopwatch::State::Cleared);
    QCOMPARE(c.menuState(), QStringLiteral("100 Stopuhr anhalten"));
    QCOMPARE(c.label(), QStringLiteral("00:00"));
    QVERIFY(!c.labelShown());
    QCOMPARE(c.height(), 96);
    QCOMPARE(c.model->stopwatch().minutes(), 0);

    // Cleared, the tick neither counts nor shows anything.
    c.tickUntil(QTime(10, 5, 0));
    QCOMPARE(c.label(), QStringLiteral("00:00"));
    QVERIFY(!c.labelShown());

    // A new start counts from nothing again.
    c.trigger("MenuStopuhrStarten");
    c.tickUntil(QTime(10, 6, 0));
    QCOMPARE(c.label(), QStringLiteral("0:01"));
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

void TstStopwatch::activationWhileHaltedHidesTheRow()
{
    Fixture c(QTime(10, 0, 0));
    c.trigger("MenuStopuhrStarten");
    c.trigger("MenuStopuhrAnhalten");
    // Back from a dialog: the halted stopwatch does not keep the window tall.
    c.controller->userReturned();
    QCOMPARE(c.height(), 96);
    QVERIFY(!c.labelShown());
    // The blinking goes on, out of view.
    c.tickUntil(QTime(10, 0, 0, 500));
    QVERIFY(c.labelShown());
    QCOMPARE(c.height(), 96);
    // Continuing does not activate: still short until the next activation.
    c.trigger("MenuStopuhrAnhalten");
    QCOMPARE(c.height(), 96);
    c.controller->userReturned();
    QCOMPARE(c.height(), 105);
}

void TstStopwatch::clearKeepsTheTallWindowForAnAppointment()
{
    Fixture c(QTime(10, 0, 0));
    c.controller->setAppointment(QTime(11, 0), QString());
    c.trigger("MenuStopuhrStarten");
    c.trigger("MenuStopuhrLöschen");
    QCOMPARE(c.height(), 105);
    QVERIFY(!c.labelShown());
    QVERIFY(!c.appointmentLabel()->isHidden());
}

QTEST_MAIN(TstStopwatch)
#include "tst_stopwatch.moc"
