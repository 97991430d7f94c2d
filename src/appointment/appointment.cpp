#include "appointment/appointment.h"

#include "sharedstate.h"

namespace lumitakt {

bool terminFaellig(const SharedState &state, QStringView hoursAndMinutes)
{
    return !state.TerminQuittiert && !state.TerminZeit.isEmpty() && hoursAndMinutes == state.TerminZeit;
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
