// Eight simulated days of ticks (about 1.4 million), twice a second, with everything the clock
// can be busy with: the stopwatch running throughout, an appointment every
// day in alternating signal modes, a time server set, and the computer's
// clock set back an hour and forward a day on the way.
#include "support/clockfixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <malloc.h>

using namespace lumitakt;

namespace {

std::size_t heapInUse()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return mallinfo2().uordblks;
}

// Every object the program holds: the application's own and each window's tree.
int objectCount()
{
    int count = 0;
    const auto countTree = [&](auto &self, const QObject *object) -> void {
        ++count;
        for (const QObject *child : object->children())
            self(self, child);
    };
    countTree(countTree, QCoreApplication::instance());
    for (const QWidget *window : QApplication::topLevelWidgets())
        countTree(countTree, window);
    return count;
}

} // namespace

class TstSoak : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        test::quietOffscreen();
    }
    void eightDays();
};

void TstSoak::eightDays()
{
    test::ClockFixture c(QTime(0, 0, 0, 250));
    c.controller->chooseTimeServer(QStringLiteral("zeit.example.org"));
    c.trigger("MenuStopuhrStarten");

    int expectedCommands = 0;
    int expectedMinutes = 0;
    int lastMinute = 0; // the stopwatch was started at midnight
    std::size_t heapAfterFirstHour = 0;
    int objectsAfterFirstHour = 0;
    qsizetype widgetsAfterFirstHour = 0;
    qint64 ticks = 0;
    // What the fakes recorded is counted and let go, so that the heap shows
    // the clock's own memory only.
    qsizetype commands = 0;
    const auto collect = [&] {
        commands += c.fakes.commands.started.size();
        c.fakes.commands.started = {};
        c.fakes.sound.played = {};
    };

    qint64 previousSecond = -1;
    const auto tick = [&] {
        c.fakes.clock.advance(500);
        const QTime t = c.fakes.clock.now().time();
        const int minute = t.hour() * 60 + t.minute();
        // Once at each mark: the first tick in its second 0.
        const qint64 second = c.fakes.clock.now().toSecsSinceEpoch();
        if (t.minute() % 10 == 0 && t.second() == 0 && second != previousSecond)
            ++expectedCommands;
        previousSecond = second;
        if (minute != lastMinute) {
            ++expectedMinutes;
            lastMinute = minute;
        }
        c.tick();
        // The event loop runs between ticks, as in the real program, so
        // repaints and other posted work are done and let go.
        QCoreApplication::processEvents();
        ++ticks;
    };
    const auto runUntil = [&](const QDateTime &end) {
        while (c.fakes.clock.now() < end)
            tick();
    };

    for (int day = 0; day < 9; ++day) {
        const QDate date = QDate(2026, 12, 6).addDays(day);
        const bool once = day % 2 == 0;
        c.controller->chooseSignalMode(once ? 1 : 0);

        runUntil(QDateTime(date, QTime(6, 0)));
        collect();
        // The appointment for the day, entered through its dialog.
        c.trigger("MenuTerminEingeben");
        AppointmentDialog *enter = c.appointmentDialog();
        QVERIFY(enter);
        enter->findChild<QLineEdit *>(QStringLiteral("txtStd"))->setText(QStringLiteral("07"));
        enter->findChild<QLineEdit *>(QStringLiteral("txtMin"))->setText(QStringLiteral("30"));
        enter->findChild<QLineEdit *>(QStringLiteral("txtTermin"))->setText(QStringLiteral("Tag %1").arg(day));
        test::element<QPushButton>(enter, QStringLiteral("btnOK"), 0)->click();
        c.settle();
        QVERIFY(c.window->isEnabled());
        QCOMPARE(c.height(), 105);

        collect();
        if (once) {
            // Acknowledged at 07:30:20: one sound, and the label goes.
            runUntil(QDateTime(date, QTime(7, 30, 20)));
            QVERIFY(c.appointmentDialog());
            test::element<QPushButton>(c.appointmentDialog(), QStringLiteral("btnOK"), 1)->click();
            c.settle();
            QCOMPARE(c.fakes.sound.played.size(), 1);
            QVERIFY(c.appointmentLabel()->isHidden());
        } else {
            // Left alone: a sound on each of the minute's 120 ticks, then quiet.
            runUntil(QDateTime(date, QTime(7, 32)));
            QCOMPARE(c.fakes.sound.played.size(), 120);
            QVERIFY(c.appointmentDialog());
            c.appointmentDialog()->close();
            c.settle();
            c.trigger("MenuTerminLöschen");
        }
        QVERIFY(!c.model->appointment().isSet());

        if (day == 0) {
            runUntil(QDateTime(date, QTime(8, 0)));
            collect();
            heapAfterFirstHour = heapInUse();
            objectsAfterFirstHour = objectCount();
            widgetsAfterFirstHour = QApplication::allWidgets().size();
        }
        if (day == 2) {
            // The computer's clock is set back an hour at noon.
            runUntil(QDateTime(date, QTime(12, 0)));
            c.fakes.clock.set(QDateTime(date, QTime(11, 0, 0, 250)));
        }
        if (day == 4) {
            // ... and forward a whole day in the evening: the next day's
            // appointment is skipped, everything else goes on.
            runUntil(QDateTime(date, QTime(20, 0)));
            c.fakes.clock.set(QDateTime(date.addDays(1), QTime(20, 0, 0, 250)));
            ++day;
        }
    }
    runUntil(QDateTime(QDate(2026, 12, 15), QTime(0, 0)));

    QVERIFY(ticks > 1'380'000); // eight days of ticks: nine calendar days, one of them jumped over
    collect();
    QCOMPARE(commands, expectedCommands);
    QCOMPARE(c.model->stopwatch().minutes(), expectedMinutes);
    QCOMPARE(c.stopwatchLabel()->text(), Stopwatch::text(expectedMinutes));
    QVERIFY(c.model->stopwatch().isRunning());
    QVERIFY(!c.appointmentDialog());

    // Nothing piles up: every dialog and object made on the way is gone
    // again, and the heap holds what it held after the first hour. Qt's
    // repaint bookkeeping keeps its region buffers at the largest size seen
    // so far, which adds a few kilobytes over the days; a real leak is far
    // above the bound: 16 bytes a tick would be 22 MB, 16 bytes a minute
    // 180 KB, and a dialog left behind each day shows in the counts.
    QCOMPARE(QApplication::allWidgets().size(), widgetsAfterFirstHour);
    QCOMPARE(objectCount(), objectsAfterFirstHour);
    const std::size_t heapAtEnd = heapInUse();
    qInfo("ticks %lld, heap after the first hour %zu bytes, at the end %zu bytes", ticks, heapAfterFirstHour, heapAtEnd);
    constexpr std::size_t bound = 64 * 1024;
    QVERIFY2(heapAtEnd <= heapAfterFirstHour + bound,
             qPrintable(QStringLiteral("the heap grew by %1 bytes").arg(static_cast<qint64>(heapAtEnd - heapAfterFirstHour))));
}

QTEST_MAIN(TstSoak)
#include "tst_soak.moc"
