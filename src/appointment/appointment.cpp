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

int vorgeschlageneStunde(int currentHour)
{
    return (currentHour + 1) % 24;
}

} // namespace lumitakt
