#include "platform/system.h"

#include "platform/pulsesoundplayer.h"
#include "platform/startup.h"

#include <csignal>

namespace lumitakt {

void prepareProcess()
{
    ::signal(SIGXFSZ, SIG_IGN);
}

void keepLog() {}

std::unique_ptr<SoundPlayer> systemSoundPlayer()
{
    return std::make_unique<PulseSoundPlayer>();
}

QString userSettingsFolder()
{
    return userConfigFolder(qgetenv("XDG_CONFIG_HOME"), qgetenv("HOME"));
}

} // namespace lumitakt
