#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>

namespace lumitakt {

struct ClockState;

// What the appointment dialog starts with, in each of its faces: the time
// it opens at, the note of the last appointment and the signal mode.
struct AppointmentInputs {
    QDateTime now;
    QString note;
    std::int16_t signalMode;
};

// What the clock controller asks of the window that shows the clock.
class ClockView {
public:
    // Shows `state`; what the window shows already stays as it is. Called
    // on every tick and after every command.
    virtual void showState(const ClockState &state) = 0;
    // The window is shown and comes to the top; a minimised one stays
    // minimised.
    virtual void bringToFront() = 0;
    // The alarm of the appointment, due now.
    virtual void showAlarm(const AppointmentInputs &alarm) = 0;

protected:
    ~ClockView() = default;
};

} // namespace lumitakt
