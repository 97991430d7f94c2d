#pragma once

#include <QPoint>

#include <optional>

class QWidget;

namespace lumitakt {

// Puts a window at the place the settings file gave it, and keeps it there
// while the window manager frames it: some window managers, framing a
// window while it is being placed, leave it elsewhere than asked. Once the
// frame is there, the place is asserted once more; after that, and in any
// case after the first few ticks, the window is the user's to move.
class StartPlace {
public:
    StartPlace(QWidget *window, QPoint place);
    // Once per tick; true on the tick that settles it.
    bool tick(bool minimised);
    // Whether the window's place is now the user's.
    bool settled() const { return !m_place; }

private:
    QWidget *m_window;
    std::optional<QPoint> m_place; // until settled
    int m_ticks = 0;
};

} // namespace lumitakt
