#include "platform/system.h"

#include "logging.h"
#include "platform/pulsesoundplayer.h"
#include "platform/startup.h"

#include <QFileInfo>

#include <csignal>

namespace lumitakt {

void prepareProcess()
{
    ::signal(SIGXFSZ, SIG_IGN);
}

namespace {

QtMessageHandler g_previousHandler = nullptr;

void printableMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    g_previousHandler(type, context, printableLogLine(message));
}

} // namespace

void keepLog()
{
    // Standard error may be an administrator's terminal (sudo -E): what a
    // settings file says must not act on it.
    g_previousHandler = qInstallMessageHandler(printableMessage);
}

std::unique_ptr<SoundPlayer> systemSoundPlayer(std::function<void()> bell)
{
    return std::make_unique<PulseSoundPlayer>(std::move(bell));
}

QString userSettingsFolder()
{
    return userConfigFolder(qgetenv("XDG_CONFIG_HOME"), qgetenv("HOME"));
}

QString singleClockFiles(const QString &settingsFile)
{
    const QFileInfo file(settingsFile);
    return file.absolutePath() + u'/' + file.completeBaseName();
}

} // namespace lumitakt
