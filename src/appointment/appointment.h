#pragma once

#include <QDateTime>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace lumitakt {

struct SharedState;

// One appointment ("Termin"): a time of day "hh:mm" with a note. It is due
// on every tick whose time text begins with it, until it is acknowledged
// ("quittiert"); on any day, for as long as the program runs.
bool terminFaellig(const SharedState &state, QStringView hoursAndMinutes);

// Whether the whole minute of the appointment passed between two ticks with
// the shown time moving forward (the computer slept, its clock was set
// ahead, or summer time began), so that no tick saw it. A jump over several
// days counts once.
bool terminVerpasst(const SharedState &state, const QDateTime &previousTick, const QDateTime &now);

// Whether a due tick plays the sound, and what it leaves behind: in "einmal"
// mode (SignalModus 1) the sound is given once ("gemeldet") per appointment;
// in any other mode on every due tick.
bool signalisieren(SharedState &state);

// The hour the enter face proposes: the one after the current hour. After
// 23 that is 00, so the proposal always lies on the scroll bar.
int vorgeschlageneStunde(int currentHour);

// The number in an hour or minute box of the enter face, if it is one that
// an appointment time can hold: one or two digits, at most `maximum`.
std::optional<int> zeitFeld(QStringView text, int maximum);

// The appointment time "hh:mm" as the clock's time text shows it, so that
// it becomes due.
QString terminZeit(int hour, int minute);

// Scroll bar value and shown number run in opposite directions, so that the
// bar's up arrow raises the number.
inline int stundeAusWert(int value) { return 23 - value; }
inline int minuteAusWert(int value) { return 59 - value; }

} // namespace lumitakt
