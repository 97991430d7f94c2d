#include "platform/system.h"

#include "platform/winsoundplayer.h"

#include <QStandardPaths>

namespace lumitakt {

void prepareProcess() {}

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
