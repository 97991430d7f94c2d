#pragma once

#include "settings/settingsfile.h"

#include <QString>

namespace lumitakt {

// Keeps the settings file in step with the user's choices while the program
// runs, so that a run ended by logout, a crash or a lost display loses
// nothing: a new look, time server or signal mode is written at the next
// tick; a new window place once the window has stood still for a while, so
// that dragging it across the screen writes once, not on every tick. What
// has not changed since the file was read or last written is never written.
class SettingsKeeper {
public:
    // Ticks a moved window must stand still before its place is written (two seconds).
    static constexpr int kPlaceSettleTicks = 4;

    // `onFile`: what the file holds, as far as the program knows, at start.
    SettingsKeeper(QString path, const Settings &onFile);

    // Once per tick, with the values as they are now.
    void tick(const Settings &now);
    // Writes whatever has changed, at once: the program is about to end.
    void saveChanges(const Settings &now);
    // Writes the file whether or not anything changed. False if not written.
    bool write(const Settings &now);

private:
    QString m_path;
    Settings m_saved;     // what was last written, or read at start
    std::int32_t m_seenLeft;
    std::int32_t m_seenTop;
    int m_steadyTicks = 0; // ticks the place has not moved
};

} // namespace lumitakt
