#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QRect>
#include <QLocale>
#include <QPoint>
#include <QSize>
#include <QString>

#include <cstdint>

namespace lumitakt {

// Window and element geometry is reckoned in twips (1/1440 inch); the
// program turns them into pixels at a fixed 15 twips to the pixel.
inline constexpr int kTwipsPerPixel = 15;

// Twips to pixels, rounded to the nearest pixel (halves away from zero).
int twipsToPixels(std::int64_t twips);

// One reading of the clock. The tick takes one snapshot and derives
// everything from it, so the four digits, the caption and the due test
// always agree, even when the clock passes a full hour during the tick.
struct TimeSnapshot {
    QDate date;
    QString timeText; // "hh:mm:ss", 24 hours, leading zeros
    int minute = 0;
    int second = 0;

    static TimeSnapshot of(const QDateTime &now);
    // The first five characters, "hh:mm": what an appointment is compared with.
    QStringView hoursAndMinutes() const { return QStringView(timeText).left(5); }
};

// Hours x 60 + minutes read from the characters of a time text (0..1439).
int minuteOfDay(QStringView timeText);

// The window caption: "  " + "dd. mmmm yyyy" while the window is normal,
// "  " + "dd. mmm. yy" + "   " + "hh:mm" while it is minimised, with the
// locale's month names.
QString normalCaption(const QDate &date, const QLocale &locale = QLocale());
QString minimisedCaption(const QDate &date, QStringView timeText, const QLocale &locale = QLocale());

// What a screen reader says for the clock window: the time shown and the
// date, "09:29, Montag, 7. Dezember 2026".
QString spokenClockName(const QDate &date, QStringView timeText, const QLocale &locale = QLocale());

// What the labels under the digits say, in words: "Termin um 09:30:
// Zahnarzt anrufen", "Stopuhr: 3 Minuten, angehalten"; empty when neither
// label shows.
struct SpokenLabels {
    bool appointmentSet = false;
    QString appointmentTime; // "hh:mm"
    QString note;
    bool stopwatchShown = false; // counting or halted
    bool stopwatchHalted = false;
    std::int32_t stopwatchMinutes = 0;
};
QString spokenClockDescription(const SpokenLabels &labels);

// A saved window position (twips) that lies off the screen becomes 0, each
// axis by itself; a position exactly at the limit stays.
QPoint keepOnScreen(QPoint savedTwips, QSize screenTwips, QSize windowTwips);

// The same test against all screens of the desktop (twips, the primary
// screen first): a position at which the window fits on any one screen
// stays, so a place on a second monitor is kept; any other position is
// tested per axis against the primary screen as above.
QPoint keepOnScreens(QPoint savedTwips, const QList<QRect> &screensTwips, QSize windowTwips);

} // namespace lumitakt
