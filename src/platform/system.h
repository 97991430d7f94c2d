#pragma once

#include "platform/soundplayer.h"

#include <QString>

#include <functional>
#include <memory>

namespace lumitakt {

// What differs between the systems when the program starts, one file per
// system (system_linux.cpp, system_windows.cpp).

// Before anything else: on Unix a write beyond the file size limit
// (ulimit -f) fails as a write, which the settings code reports and
// survives, instead of ending the clock with SIGXFSZ; on Windows the clock
// holds the mutexes "Lumitakt.Running" and "Global\Lumitakt.Running", by
// which an installer in any session knows that it runs.
void prepareProcess();

// Where the program's messages can be read: on Unix standard error, which
// the desktop's session log keeps; on Windows, where a program without a
// console has none, also the file %LOCALAPPDATA%\Lumitakt\Lumitakt.log
// (begun anew once it has grown past 64 KiB) besides the debugger output.
// Needs the application object.
void keepLog();

// The system's sound player for the alarm; `bell` rings where a sound
// cannot play (the desktop's, handed in by the program).
std::unique_ptr<SoundPlayer> systemSoundPlayer(std::function<void()> bell);

// The folder for the user's settings: on Unix by the XDG rules (see
// userConfigFolder), on Windows the roaming profile, %APPDATA%\Lumitakt.
// Empty where there is none. Needs the application object.
QString userSettingsFolder();

// The path, without its ending, of the lock and the request file that keep
// one clock per settings file (see SingleClock): beside the file, except on
// Windows for a file in the roaming profile (%APPDATA%), which would carry a
// lock to another computer, where no clock holds it: its lock is in the
// computer's own %LOCALAPPDATA%\Lumitakt, named after the file's path.
// Needs the application object.
QString singleClockFiles(const QString &settingsFile);

} // namespace lumitakt
