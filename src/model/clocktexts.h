#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringView>
#include <QTime>

#include <cstdint>
#include <optional>

namespace lumitakt {

// Every text the program makes of a time or date, and the one reader of a
// typed hour or minute. Times are QTime and QDate everywhere else; they
// become text only here.

// A number 0..99 as two digits with a leading zero: "07".
QString twoDigits(int value);
// "hh:mm" and "hh:mm:ss", 24 hours, leading zeros.
QString hoursMinutes(QTime time);
QString hoursMinutesSeconds(QTime time);

// The number in an hour or minute box, if it is one an appointment time can
// hold: one or two digits, at most `maximum`.
std::optional<int> parseTwoDigits(QStringView text, int maximum);

// The window caption: "  " + "dd. mmmm yyyy" while the window is normal,
// "  " + "dd. mmm. yy" + "   " + "hh:mm" while it is minimised, with the
// locale's month names.
QString normalCaption(const QDate &date, const QLocale &locale = QLocale());
QString minimisedCaption(const QDate &date, QTime time, const QLocale &locale = QLocale());

// The alarm's title: " " + the long date + five blanks + "hh:mm:ss".
QString alarmCaption(const QDateTime &now, const QLocale &locale = QLocale());

// What a screen reader says for the clock window: the time shown and the
// date, "09:29, Montag, 7. Dezember 2026".
QString spokenClockName(const QDate &date, QTime time, const QLocale &locale = QLocale());

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

} // namespace lumitakt
