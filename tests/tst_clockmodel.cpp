// The clock model's tick, without any window: what a reading of the clock
// makes the face show and the program do.
#include "model/clockmodel.h"
#include "support/testdata.h"

#include <QTest>
#include <QTimeZone>

using namespace lumitakt;

namespace {

using test::at;

// A model on a clock the test moves: `tick` runs one tick, `tickUntil` one
// every half second up to and including `end`.
struct Driver {
    QDateTime now;
    ClockModel model;
    int sounds = 0;
    int alarms = 0;
    int clockSets = 0;
    QString stopwatch = Stopwatch::clearedText();

    explicit Driver(const QDateTime &start, const ClockSettings &settings = {}) : now(start), model(settings, start) {}

    ClockTick tick(bool minimised = false)
    {
        const ClockTick result = model.tick(now, minimised);
        sounds += result.playSound;
        alarms += result.showAlarm;
        clockSets += result.setClock;
        if (result.stopwatchText)
            stopwatch = *result.stopwatchText;
        return result;
    }
    ClockTick tickAt(const QDateTime &time)
    {
        now = time;
        return tick();
    }
    ClockTick tickAt(QTime time) { return tickAt(QDateTime(now.date(), time)); }
    void tickUntil(const QDateTime &end)
    {
        while (now < end) {
            now = now.addMSecs(500);
            tick();
        }
    }
    void tickUntil(QTime end) { tickUntil(QDateTime(now.date(), end)); }
};

QString digitsOf(const ClockTick &tick)
{
    QString text;
    for (const int digit : tick.digits)
        text += QString::number(digit);
    return text;
}

} // namespace

class TstClockModel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void tickShows_data();
    void tickShows();
    void setsTheClockOncePerMark_data();
    void setsTheClockOncePerMark();
    void dueInItsMinute_data();
    void dueInItsMinute();
    void clockJumps_data();
    void clockJumps();
    void stopwatchText_data();
    void stopwatchText();
    void stopwatchCounting_data();
    void stopwatchCounting();
    void stopwatchDoesNotWrap();
    void patterns_data();
    void patterns();
    void timeDigits_data();
    void timeDigits();
    void segmentsOutsideOneToSevenAreDark();
};

void TstClockModel::tickShows_data()
{
    // Ticks in a row: the time and whether the window is minimised; what the
    // digits show, whether the colon is shown, and the caption and spoken
    // name where the tick hands new ones over (empty: unchanged).
    QTest::addColumn<QList<QTime>>("times");
    QTest::addColumn<QList<bool>>("minimised");
    QTest::addColumn<QStringList>("digits");
    QTest::addColumn<QList<bool>>("colon");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("spoken");
    const QString date = QStringLiteral("  06. Dezember 2026");
    QTest::newRow("half seconds")
        << QList<QTime>{QTime(14, 5, 33), QTime(14, 5, 33, 500), QTime(14, 5, 59, 500), QTime(14, 6, 0)} << QList<bool>{false, false, false, false}
        << QStringList{QStringLiteral("1405"), QStringLiteral("1405"), QStringLiteral("1405"), QStringLiteral("1406")}
        << QList<bool>{false, true, false, true} << QStringList{date, {}, {}, {}}
        << QStringList{QStringLiteral("14:05, Sonntag, 6. Dezember 2026"), {}, {}, QStringLiteral("14:06, Sonntag, 6. Dezember 2026")};
    QTest::newRow("minimised, the caption follows the minute")
        << QList<QTime>{QTime(9, 59, 59), QTime(9, 59, 59, 900), QTime(10, 0, 0), QTime(10, 0, 0, 500)} << QList<bool>{false, true, true, false}
        << QStringList{QStringLiteral("0959"), QStringLiteral("0959"), QStringLiteral("1000"), QStringLiteral("1000")}
        << QList<bool>{false, true, false, true}
        << QStringList{date, QStringLiteral("  06. Dez. 26   09:59"), QStringLiteral("  06. Dez. 26   10:00"), date}
        << QStringList{QStringLiteral("09:59, Sonntag, 6. Dezember 2026"), {}, QStringLiteral("10:00, Sonntag, 6. Dezember 2026"), {}};
}

void TstClockModel::tickShows()
{
    QFETCH(QList<QTime>, times);
    QFETCH(QList<bool>, minimised);
    QFETCH(QStringList, digits);
    QFETCH(QList<bool>, colon);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, spoken);
    Driver d(at(times.first()));
    for (qsizetype i = 0; i < times.size(); ++i) {
        d.now = at(times[i]);
        const ClockTick tick = d.tick(minimised[i]);
        QCOMPARE(digitsOf(tick), digits[i]);
        QCOMPARE(tick.colonShown, colon[i]);
        QCOMPARE(tick.caption.value_or(QString()), captions[i]);
        QCOMPARE(tick.spokenName.value_or(QString()), spoken[i]);
        QVERIFY(!tick.showAlarm && !tick.playSound);
    }
}

void TstClockModel::setsTheClockOncePerMark_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<int>("sets");
    QTest::newRow("12:30:00") << QTime(12, 30, 0) << 1;
    QTest::newRow("12:30:00.5") << QTime(12, 30, 0, 500) << 1;
    QTest::newRow("12:31:00") << QTime(12, 31, 0) << 0;
    QTest::newRow("12:30:01") << QTime(12, 30, 1) << 0;
    QTest::newRow("00:00:00") << QTime(0, 0, 0) << 1;
    QTest::newRow("12:50:00") << QTime(12, 50, 0) << 1;
}

void TstClockModel::setsTheClockOncePerMark()
{
    QFETCH(QTime, time);
    QFETCH(int, sets);
    Driver d(at(QTime(12, 0, 30)));
    d.tickAt(time);
    QCOMPARE(d.clockSets, sets);
    // Over a whole hour, ticking twice a second: once at each of the six
    // marks, though two ticks fall into second 0.
    d.clockSets = 0;
    d.now = at(QTime(13, 0, 0, 250));
    for (int i = 0; i < 7200; ++i) {
        d.tick();
        d.now = d.now.addMSecs(500);
    }
    QCOMPARE(d.clockSets, 6);
}

void TstClockModel::dueInItsMinute_data()
{
    QTest::addColumn<QTime>("appointment"); // invalid: none
    QTest::addColumn<QTime>("now");
    QTest::addColumn<bool>("due");
    QTest::newRow("same minute") << QTime(7, 30) << QTime(7, 30, 59, 900) << true;
    QTest::newRow("other minute") << QTime(7, 30) << QTime(7, 31) << false;
    QTest::newRow("other hour") << QTime(7, 30) << QTime(8, 30) << false;
    QTest::newRow("none") << QTime() << QTime(7, 30) << false;
}

void TstClockModel::dueInItsMinute()
{
    QFETCH(QTime, appointment);
    QFETCH(QTime, now);
    QFETCH(bool, due);
    Driver d(at(QTime(7, 0)));
    if (appointment.isValid())
        d.model.setAppointment(appointment, QStringLiteral("Bus"));
    d.tickAt(now);
    QCOMPARE(d.alarms, due ? 1 : 0);
}

void TstClockModel::clockJumps_data()
{
    // The clock's last tick before it jumps, where it lands, and how often
    // the sound plays from there over the next 70 seconds. The appointment
    // is at 09:30 (00:10 across midnight).
    QTest::addColumn<int>("mode");
    QTest::addColumn<QTime>("appointment");
    QTest::addColumn<QDateTime>("from");
    QTest::addColumn<QDateTime>("to");
    QTest::addColumn<bool>("acknowledged");
    QTest::addColumn<int>("sounds");
    const auto on = [](int day, int h, int m, int sec = 0) { return at(QTime(h, m, sec), day); };
    const QTime half(9, 30);
    QTest::newRow("slept over it") << 0 << half << on(6, 9, 29) << on(6, 9, 45) << false << 120;
    QTest::newRow("slept over it, once") << 1 << half << on(6, 9, 29) << on(6, 9, 45) << false << 1;
    QTest::newRow("over midnight") << 0 << QTime(0, 10) << on(6, 23, 59) << on(7, 0, 30) << false << 120;
    QTest::newRow("two days later") << 0 << half << on(6, 9, 29) << on(8, 10, 0) << false << 120;
    QTest::newRow("into the minute") << 0 << half << on(6, 9, 29) << on(6, 9, 30, 20) << false << 80;
    QTest::newRow("to just before it") << 0 << half << on(6, 9, 0) << on(6, 9, 29, 59) << false << 120;
    QTest::newRow("from inside it") << 0 << half << on(6, 9, 30, 10) << on(6, 9, 45) << false << 0;
    QTest::newRow("back after OK") << 0 << half << on(6, 9, 30) << on(6, 9, 0) << true << 0;
    QTest::newRow("ahead after OK") << 0 << half << on(6, 9, 30) << on(6, 9, 45) << true << 0;
    // The nights the clocks change in Germany, whatever zone the machine has:
    // 02:30 never comes on 29 March, and comes twice on 25 October.
    const QTimeZone berlin("Europe/Berlin");
    const QDateTime lastWinterTick(QDate(2026, 3, 29), QTime(1, 59, 59, 500), berlin);
    QTest::newRow("summer time begins") << 1 << QTime(2, 30) << lastWinterTick << lastWinterTick.addMSecs(500) << false << 1;
    const QDateTime summer(QDate(2026, 10, 25), QTime(2, 30), berlin);
    QTest::newRow("summer time ends, after OK") << 0 << QTime(2, 30) << summer << summer.addSecs(3600) << true << 0;
}

void TstClockModel::clockJumps()
{
    QFETCH(int, mode);
    QFETCH(QTime, appointment);
    QFETCH(QDateTime, from);
    QFETCH(QDateTime, to);
    QFETCH(bool, acknowledged);
    QFETCH(int, sounds);
    ClockSettings settings;
    settings.signalMode = static_cast<std::int16_t>(mode);
    Driver d(at(QTime(8, 0)), settings);
    d.model.setAppointment(appointment, QStringLiteral("Bus"));
    d.tickAt(from);
    if (acknowledged) {
        QCOMPARE(d.alarms, 1);
        d.model.deleteAppointment();
    }
    d.sounds = 0;
    // A sound in the tick that lands comes with the alarm.
    const ClockTick landed = d.tickAt(to);
    QVERIFY(!landed.playSound || landed.showAlarm);
    d.tickUntil(to.addSecs(70));
    QCOMPARE(d.sounds, sounds);
}

void TstClockModel::stopwatchText_data()
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

void TstClockModel::stopwatchText()
{
    QFETCH(int, minutes);
    QFETCH(QString, text);
    QCOMPARE(Stopwatch::text(minutes), text);
}

void TstClockModel::stopwatchCounting_data()
{
    // Started at `start`, then for each step: '.' ticks every half second up
    // to its time, 'h' halts or continues first, 'j' the clock jumps there.
    // After each step the label shows `texts`.
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<QList<QDateTime>>("steps");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QStringList>("texts");
    const auto t = [](int h, int m, int s, int ms = 0) { return at(QTime(h, m, s, ms)); };
    // The first minute may come after only one second, and never before the next full minute.
    QTest::newRow("started at 10:00:59") << t(10, 0, 59) << QList<QDateTime>{t(10, 0, 59, 500), t(10, 1, 0)} << QStringLiteral("..")
                                         << QStringList{QStringLiteral("00:00"), QStringLiteral("0:01")};
    QTest::newRow("started at 10:00:00.2") << t(10, 0, 0, 200) << QList<QDateTime>{t(10, 0, 59, 700), t(10, 1, 0, 200)}
                                           << QStringLiteral("..") << QStringList{QStringLiteral("00:00"), QStringLiteral("0:01")};
    QTest::newRow("halted minutes do not count")
        << t(10, 0, 0, 200) << QList<QDateTime>{t(10, 5, 30, 200), t(10, 8, 10, 200), t(10, 8, 59, 700), t(10, 9, 0, 200)}
        << QStringLiteral(".hh.") << QStringList{QStringLiteral("0:05"), QStringLiteral("0:05"), QStringLiteral("0:05"), QStringLiteral("0:06")};
    // Jumps of the clock either way count one minute.
    QTest::newRow("midnight") << t(23, 59, 59, 800) << QList<QDateTime>{at(QTime(0, 0, 0, 300), 7)} << QStringLiteral(".")
                              << QStringList{QStringLiteral("0:01")};
    QTest::newRow("clock set back an hour") << t(10, 30, 10) << QList<QDateTime>{t(9, 30, 10), t(9, 30, 10, 500)}
                                            << QStringLiteral("j.") << QStringList{QStringLiteral("0:01"), QStringLiteral("0:01")};
    QTest::newRow("clock set forward") << t(10, 30, 10) << QList<QDateTime>{t(16, 45, 0), t(16, 45, 0, 500)} << QStringLiteral("j.")
                                       << QStringList{QStringLiteral("0:01"), QStringLiteral("0:01")};
}

void TstClockModel::stopwatchCounting()
{
    QFETCH(QDateTime, start);
    QFETCH(QList<QDateTime>, steps);
    QFETCH(QString, how);
    QFETCH(QStringList, texts);
    Driver d(start.addSecs(-90));
    d.tickUntil(start.addMSecs(-start.time().msec()));
    d.now = start;
    d.model.startStopwatch(start);
    for (qsizetype i = 0; i < steps.size(); ++i) {
        if (how[i] == u'h')
            d.model.haltOrContinueStopwatch();
        if (how[i] == u'j')
            d.tickAt(steps[i]);
        else
            d.tickUntil(steps[i]);
        QCOMPARE(d.stopwatch, texts[i]);
    }
}

void TstClockModel::stopwatchDoesNotWrap()
{
    Driver d(at(QTime(8, 0)));
    d.model.startStopwatch(d.now);
    for (int minute = 1; minute <= 1500; ++minute)
        d.tickAt(d.now.addSecs(60));
    QCOMPARE(d.stopwatch, QStringLiteral("25:00"));
    QCOMPARE(d.model.stopwatch().minutes(), 1500);
}

void TstClockModel::patterns_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("pattern");
    for (int v = 0; v <= 9; ++v)
        QTest::addRow("%d", v) << v << test::litDigits()[static_cast<std::size_t>(v)];
    QTest::newRow("10") << 10 << QString();
    QTest::newRow("-1") << -1 << QString();
    QTest::newRow("32767") << 32767 << QString();
    QTest::newRow("-32768") << -32768 << QString();
}

void TstClockModel::patterns()
{
    QFETCH(int, value);
    QFETCH(QString, pattern);
    QString lit;
    for (int j = 1; j <= kSegmentCount; ++j)
        lit += segmentLit(segmentPattern(value), j) ? u'1' : u'0';
    QCOMPARE(lit, pattern.isEmpty() ? QStringLiteral("0000000") : pattern);
}

void TstClockModel::timeDigits_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QList<int>>("digits");
    QTest::newRow("midnight") << QTime(0, 0) << QList<int>{0, 0, 0, 0};
    QTest::newRow("09:59:59.9") << QTime(9, 59, 59, 900) << QList<int>{0, 9, 5, 9};
    QTest::newRow("14:05") << QTime(14, 5, 33) << QList<int>{1, 4, 0, 5};
    QTest::newRow("23:59") << QTime(23, 59) << QList<int>{2, 3, 5, 9};
}

void TstClockModel::timeDigits()
{
    QFETCH(QTime, time);
    QFETCH(QList<int>, digits);
    const TimeDigits shown = lumitakt::timeDigits(time);
    QCOMPARE(QList<int>(shown.begin(), shown.end()), digits);
}

void TstClockModel::segmentsOutsideOneToSevenAreDark()
{
    for (const int j : {-1, 0, 8, 9})
        QVERIFY(!segmentLit(segmentPattern(8), j));
}

QTEST_GUILESS_MAIN(TstClockModel)
#include "tst_clockmodel.moc"
