#include "appointment/appointment.h"

#include "sharedstate.h"

namespace lumitakt {

bool terminFaellig(const SharedState &state, QStringView hoursAndMinutes)
{
    return !state.TerminQuittiert && !state.TerminZeit.isEmpty() && hoursAndMinutes == state.TerminZeit;
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
    return QDateTime(time.date(), time.time(), Qt::UTC);
}

} // namespace

bool terminVerpasst(const SharedState &state, const QDateTime &previousTick, const QDateTime &now)
{
    // Ticks come twice a second: only a gap of a minute or more in the shown
    // time can hide one, whether the computer slept, its clock was set
    // ahead, or summer time began. Going back hides nothing.
    constexpr qint64 kMinuteMs = 60'000;
    if (state.TerminQuittiert || state.TerminZeit.isEmpty() || !previousTick.isValid()
        || wallClockMs(now) - wallClockMs(previousTick) < kMinuteMs)
        return false;
    const QTime minute = QTime::fromString(state.TerminZeit, QStringLiteral("HH:mm"));
    if (!minute.isValid())
        return false;
    // The first start of that minute after the previous tick, as the face
    // shows time; a previous tick inside the minute saw it already.
    const QDateTime before = wallClock(previousTick);
    QDateTime start(before.date(), minute, Qt::UTC);
    if (start <= before)
        start = start.addDays(1);
    return wallClock(now) >= start.addSecs(60);
}

bool signalisieren(SharedState &state)
{
    if (state.TerminGemeldet)
        return false;
    if (state.SignalModus == 1)
        state.TerminGemeldet = true;
    return true;
}

std::optional<int> zeitFeld(QStringView text, int maximum)
{
    if (text.isEmpty() || text.size() > 2)
        return std::nullopt;
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (value > maximum)
        return std::nullopt;
    return value;
}

QString terminZeit(int hour, int minute)
{
    return QStringLiteral("%1:%2").arg(hour, 2, 10, QLatin1Char('0')).arg(minute, 2, 10, QLatin1Char('0'));
}

int vorgeschlageneStunde(int currentHour)
{
    return (currentHour + 1) % 24;
}

} // namespace lumitakt
