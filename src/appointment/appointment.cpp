#include "appointment/appointment.h"

#include "sharedstate.h"

namespace lumitakt {

bool terminFaellig(const SharedState &state, QStringView hoursAndMinutes)
{
    return !state.TerminQuittiert && !state.TerminZeit.isEmpty() && hoursAndMinutes == state.TerminZeit;
}

bool terminVerpasst(const SharedState &state, const QDateTime &previousTick, const QDateTime &now)
{
    // Ticks come twice a second: only a gap of a minute or more can hide one.
    constexpr qint64 kMinuteMs = 60'000;
    if (state.TerminQuittiert || state.TerminZeit.isEmpty() || !previousTick.isValid()
        || now.toMSecsSinceEpoch() - previousTick.toMSecsSinceEpoch() < kMinuteMs)
        return false;
    const QTime minute = QTime::fromString(state.TerminZeit, QStringLiteral("HH:mm"));
    if (!minute.isValid())
        return false;
    // The first start of that minute after the previous tick; a previous tick
    // inside the minute saw it already.
    QDateTime start(previousTick.date(), minute);
    if (start <= previousTick)
        start = QDateTime(previousTick.date().addDays(1), minute);
    return now >= start.addSecs(60);
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
