#include "model/clockmodel.h"
#include "model/clocktexts.h"

#include <QTest>

using namespace lumitakt;

class TstClockTexts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void timeTexts_data();
    void timeTexts();
    void captions_data();
    void captions();
    void spokenDescription_data();
    void spokenDescription();
    void noDoubledDot_data();
    void noDoubledDot();
};

void TstClockTexts::timeTexts_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("minute");
    QTest::newRow("07:05:30") << QTime(7, 5, 30) << QStringLiteral("07:05:30") << 425;
    QTest::newRow("midnight") << QTime(0, 0, 0) << QStringLiteral("00:00:00") << 0;
    QTest::newRow("last second") << QTime(23, 59, 59, 999) << QStringLiteral("23:59:59") << 1439;
    QTest::newRow("half second") << QTime(10, 0, 0, 500) << QStringLiteral("10:00:00") << 600;
}

void TstClockTexts::timeTexts()
{
    QFETCH(QTime, time);
    QFETCH(QString, text);
    QFETCH(int, minute);
    QCOMPARE(hoursMinutesSeconds(time), text);
    QCOMPARE(hoursMinutes(time), text.left(5));
    QCOMPARE(minuteOfDay(time), minute);
}

void TstClockTexts::captions_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QDateTime>("at");
    QTest::addColumn<QString>("normal");
    QTest::addColumn<QString>("minimised");
    const QLocale de(QLocale::German, QLocale::Germany);
    const QLocale en(QLocale::English, QLocale::UnitedKingdom);
    QTest::newRow("de December") << de << QDateTime(QDate(2026, 12, 6), QTime(14, 5, 33))
                                 << QStringLiteral("  06. Dezember 2026") << QStringLiteral("  06. Dez. 26   14:05");
    QTest::newRow("de March") << de << QDateTime(QDate(2027, 3, 1), QTime(0, 0))
                              << QStringLiteral("  01. März 2027") << QStringLiteral("  01. Mär. 27   00:00");
    QTest::newRow("de May") << de << QDateTime(QDate(2027, 5, 31), QTime(23, 59, 59))
                            << QStringLiteral("  31. Mai 2027") << QStringLiteral("  31. Mai. 27   23:59");
    QTest::newRow("de year 2000") << de << QDateTime(QDate(2000, 1, 9), QTime(7, 5))
                                  << QStringLiteral("  09. Januar 2000") << QStringLiteral("  09. Jan. 00   07:05");
    QTest::newRow("en December") << en << QDateTime(QDate(2026, 12, 6), QTime(14, 5, 33))
                                 << QStringLiteral("  06. December 2026") << QStringLiteral("  06. Dec. 26   14:05");
}

void TstClockTexts::spokenDescription_data()
{
    QTest::addColumn<bool>("appointment");
    QTest::addColumn<QString>("note");
    QTest::addColumn<bool>("stopwatch");
    QTest::addColumn<bool>("halted");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QString>("spoken");
    QTest::newRow("nothing under the digits") << false << QString() << false << false << 5 << QString();
    QTest::newRow("appointment without a note") << true << QString() << false << false << 0 << QStringLiteral("Termin um 09:30");
    QTest::newRow("one minute, running") << false << QString() << true << false << 1 << QStringLiteral("Stopuhr: 1 Minute");
    QTest::newRow("both") << true << QStringLiteral("Bus") << true << true << 61
                          << QStringLiteral("Termin um 09:30: Bus. Stopuhr: 61 Minuten, angehalten");
}

void TstClockTexts::spokenDescription()
{
    QFETCH(bool, appointment);
    QFETCH(QString, note);
    QFETCH(bool, stopwatch);
    QFETCH(bool, halted);
    QFETCH(int, minutes);
    QFETCH(QString, spoken);
    QCOMPARE(spokenClockDescription({appointment, QStringLiteral("09:30"), note, stopwatch, halted, minutes}), spoken);
}

void TstClockTexts::captions()
{
    QFETCH(QLocale, locale);
    QFETCH(QDateTime, at);
    QFETCH(QString, normal);
    QFETCH(QString, minimised);
    QCOMPARE(normalCaption(at.date(), locale), normal);
    QCOMPARE(minimisedCaption(at.date(), at.time(), locale), minimised);
}

void TstClockTexts::noDoubledDot_data()
{
    QTest::addColumn<QLocale>("locale");
    for (const auto language : {QLocale::German, QLocale::Russian, QLocale::French, QLocale::Dutch, QLocale::Spanish})
        QTest::newRow(QLocale::languageToString(language).toUtf8().constData()) << QLocale(language);
}

void TstClockTexts::noDoubledDot()
{
    QFETCH(QLocale, locale);
    for (int month = 1; month <= 12; ++month) {
        const QString caption = minimisedCaption(QDate(2026, month, 15), QTime(12, 34, 56), locale);
        QVERIFY2(!caption.contains(QStringLiteral("..")), qPrintable(caption));
        QVERIFY(caption.endsWith(QStringLiteral(". 26   12:34")));
    }
}

QTEST_APPLESS_MAIN(TstClockTexts)
#include "tst_clocktexts.moc"
