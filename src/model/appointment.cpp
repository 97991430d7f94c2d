#include "model/appointment.h"

#include <QTimeZone>

namespace lumitakt {

bool Appointment::isDueAt(QTime now) const
{
    return time && now.hour() == time->hour() && now.minute() == time->minute();
}

namespace {

// The time the face shows, as milliseconds of a clock that knows no time
// zones: summer time moves it as a jump would.
qint64 wallClockMs(const QDateTime &time)
{
    return time.toMSecsSinceEpoch() + qint64{time.offsetFromUtc()} * 1000;
}

// The same reading as a date and time without a zone, to count minutes on.
QDateTime wallClock(const QDateTime &time)
{
    return QDateTime(time.date(), time.time(), QTimeZone::utc());
}

} // namespace

bool Appointment::wasMissedBetween(const QDateTime &previousTick, const QDateTime &now) const
{
    // Ticks come twice a second: only a gap of a minute or more in the shown
    // time can hide one, whether the computer slept, its clock was set
    // ahead, or summer time began. Going back hides nothing.
    constexpr qint64 kMinuteMs = 60'000;
    if (!time || !previousTick.isValid() || wallClockMs(now) - wallClockMs(previousTick) < kMinuteMs)
        return false;
    // The first start of that minute after the previous tick, as the face
    // shows time; a previous tick inside the minute saw it already.
    const QDateTime before = wallClock(previousTick);
    QDateTime start(before.date(), QTime(time->hour(), time->minute()), QTimeZone::utc());
    if (start <= before)
        start = start.addDays(1);
    return wallClock(now) >= start.addSecs(60);
}

int proposedHour(int currentHour)
{
    return (currentHour + 1) % 24;
}

} // namespace lumitakt
