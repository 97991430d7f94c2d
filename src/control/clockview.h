#pragma once

#include <QDateTime>
#include <QPoint>

namespace lumitakt {

struct ClockTick;

// What the clock controller asks of the window that shows the clock. The
// window reads what it shows from the controller's model.
class ClockView {
public:
    // Whether the window is minimised, and where it stands.
    struct Standing {
        bool minimised;
        QPoint place;
    };

    // Asked first in every tick.
    virtual Standing standing() = 0;
    // What a tick changed: digits, colon, caption, the stopwatch label.
    virtual void showTick(const ClockTick &tick) = 0;
    // The whole state: labels, height, look, the menu's items; the window
    // is shown and comes to the top.
    virtual void showState() = 0;
    // The look of the settings, at once.
    virtual void showLook() = 0;
    // Which menu items can be used and what they say.
    virtual void showCommands() = 0;
    // The alarm of the appointment, due at `now`.
    virtual void showAlarm(const QDateTime &now) = 0;

protected:
    ~ClockView() = default;
};

} // namespace lumitakt
