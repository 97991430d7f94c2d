#pragma once

#include <QStringView>

#include <cstdint>

namespace lumitakt {

struct SharedState;

// One appointment ("Termin"): a time of day "hh:mm" with a note. It is due
// on every tick whose time text begins with it, until it is acknowledged
// ("quittiert"); on any day, for as long as the program runs.
bool terminFaellig(const SharedState &state, QStringView hoursAndMinutes);

// Whether a due tick plays the sound, and what it leaves behind: in "einmal"
// mode (SignalModus 1) the sound is given once ("gemeldet") per appointment;
// in any other mode on every due tick.
bool signalisieren(SharedState &state);

// The hour the enter face proposes: the one after the current hour. After
// 23 that is 00, so the proposal always lies on the scroll bar.
int vorgeschlageneStunde(int currentHour);

// Scroll bar value and shown number run in opposite directions, so that the
// bar's up arrow raises the number.
inline int stundeAusWert(int value) { return 23 - value; }
inline int minuteAusWert(int value) { return 59 - value; }

} // namespace lumitakt
