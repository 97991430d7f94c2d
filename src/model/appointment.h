#pragma once

#include <QDateTime>
#include <QString>
#include <QTime>

#include <optional>

namespace lumitakt {

// The one daily appointment: a time of day to the minute with a note. It is
// due in every tick of its minute, on any day, until it is acknowledged or
// deleted, which takes its time away.
struct Appointment {
    std::optional<QTime> time; // hours and minutes; none: no appointment
    QString note;
    bool sounded = false; // the single sound of "einmal" was given

    bool isSet() const { return time.has_value(); }
    // Due in any tick whose time has the appointment's hour and minute.
    bool isDueAt(QTime now) const;
    // Whether the whole minute of the appointment passed between two ticks
    // with the shown time moving forward (the computer slept, its clock was
    // set ahead, or summer time began), so that no tick saw it. A jump over
    // several days counts once.
    bool wasMissedBetween(const QDateTime &previousTick, const QDateTime &now) const;
};

// The hour the enter face proposes: the one after the current hour. After
// 23 that is 00, so the proposal always lies on the scroll bar.
int proposedHour(int currentHour);

} // namespace lumitakt
