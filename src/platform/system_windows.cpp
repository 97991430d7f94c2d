#include "platform/system.h"

#include "platform/winsoundplayer.h"

#include <QStandardPaths>

#include <qt_windows.h>

namespace lumitakt {

void prepareProcess()
{
    // A sign that a clock runs, for the installer, which must not replace or
    // remove a program that runs. Held until the process ends.
    CreateMutexW(nullptr, FALSE, L"Lumitakt.Running");
}

std::unique_ptr<SoundPlayer> systemSoundPlayer()
{
    return std::make_unique<WinSoundPlayer>();
}

QString userSettingsFolder()
{
    // Windows keeps what a user's programs remember in the roaming profile.
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

} // namespace lumitakt
