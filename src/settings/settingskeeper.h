#pragma once

#include "model/clockmodel.h"
#include "settings/settingsfile.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

namespace lumitakt {

// Keeps the settings file in step with the user's choices while the program
// runs, so that a run ended by logout, a crash or a lost display loses
// nothing: a new look, time server or signal mode is written at once where
// the controller asks for it after a command (saveChanges), or else at the
// next tick; a new window place once the window has stood still for a
// while, so that dragging it across the screen writes once, not on every
// tick. Neither a tick nor saveChanges writes what has not changed since the
// file was read or last written. What could not be written is tried again
// every few seconds and at the end, and said once while it keeps failing.
class SettingsKeeper {
public:
    // Ticks a moved window must stand still before its place is written.
    static constexpr int kPlaceSettleTicks = ticksIn(std::chrono::seconds(2));
    // Ticks between two tries to write settings that could not be written.
    static constexpr int kRetryTicks = ticksIn(std::chrono::seconds(5));

    // Reads the file at `path` over the defaults; an empty path keeps the
    // settings in memory only. A saved place at which a window of
    // `windowSize` would not stand on any of the `screens` (the primary
    // first; all in pixels) is moved onto the primary one. With a
    // `writeRefusal`, or where settingsWriteRefusal gives one now, the file
    // is read but never written, and the keeper says so once.
    SettingsKeeper(QString path, const QList<QRect> &screens, QSize windowSize, QString writeRefusal = {});

    // What the file gave at start.
    const ClockSettings &loaded() const { return m_loaded; }

    // Once per tick, with the values as they are now.
    void tick(const ClockSettings &now);
    // Writes whatever has changed, at once: after a command, and on the
    // ways out of the program.
    void saveChanges(const ClockSettings &now);
    // Writes the file whether or not anything changed (the window was
    // closed). False if not written.
    bool write(const ClockSettings &now);

private:
    QString m_path;
    bool m_readOnly = false; // read, never written: see settingsWriteRefusal
    ClockSettings m_loaded;
    ClockSettings m_saved; // what was last written, or read at start
    // The place as the file holds it: a place in twips that the window could
    // not take exactly (the pixel grid is coarser) is kept as it is until
    // the window really moves.
    QPoint m_savedTwips;
    QPoint m_seenPlace;
    int m_steadyTicks = 0; // ticks the place has not moved
    std::optional<ClockSettings> m_failed; // what was last tried and not written
    int m_ticksToRetry = 0;
};

} // namespace lumitakt
