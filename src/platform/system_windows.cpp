#include "platform/system.h"

#include "files/trustedfiles.h"
#include "logging.h"
#include "platform/winsoundplayer.h"

#include <QDateTime>
#include <QStandardPaths>

#include <qt_windows.h>

namespace lumitakt {

void prepareProcess()
{
    // A sign that a clock runs, for the installer, which must not replace or
    // remove a program that runs. Held until the process ends.
    CreateMutexW(nullptr, FALSE, L"Lumitakt.Running");
}

namespace {

constexpr qint64 kLogLimit = 64 * 1024;

QString &logFile()
{
    static QString file;
    return file;
}

QtMessageHandler &previousHandler()
{
    static QtMessageHandler handler = nullptr;
    return handler;
}

void logMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const QString line = printableLogLine(message);
    previousHandler()(type, context, line);
    const QString category = context.category ? QString::fromLatin1(context.category) : QString();
    appendToLog(logFile(), (QDateTime::currentDateTime().toString(Qt::ISODate) + u' ' + category + QStringLiteral(": ") + line + QStringLiteral("\r\n")).toUtf8(),
                kLogLimit);
}

} // namespace

void keepLog()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Lumitakt");
    if (folder.startsWith(u'/') || !makeFolder(folder))
        return;
    logFile() = folder + QStringLiteral("/Lumitakt.log");
    previousHandler() = qInstallMessageHandler(logMessage);
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
