#include "platform/system.h"

#include "files/trustedfiles.h"
#include "logging.h"
#include "platform/winsoundplayer.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <qt_windows.h>
#include <sddl.h>

namespace lumitakt {

void prepareProcess()
{
    // A sign that a clock runs, for the installer, which must not replace or
    // remove a program that runs. Held until the process ends. The name in
    // the session's own namespace is the one older installers look for; the
    // global one is seen from every session (fast user switching, Remote
    // Desktop). Its access list lets everyone wait on it, which is all an
    // installer asks for, and nothing more, so no one else can take it over;
    // a clock that finds it made by another clock holds it all the same.
    CreateMutexW(nullptr, FALSE, L"Lumitakt.Running");
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;0x00100000;;;WD)", SDDL_REVISION_1, &descriptor, nullptr))
        return;
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    CreateMutexExW(&attributes, L"Global\\Lumitakt.Running", 0, SYNCHRONIZE);
    LocalFree(descriptor);
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

std::unique_ptr<SoundPlayer> systemSoundPlayer(std::function<void()> bell)
{
    return std::make_unique<WinSoundPlayer>(std::move(bell));
}

QString userSettingsFolder()
{
    // Windows keeps what a user's programs remember in the roaming profile.
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString singleClockFiles(const QString &settingsFile)
{
    const QFileInfo file(settingsFile);
    const QString path = QDir::cleanPath(file.absoluteFilePath());
    // The roaming profile travels to other computers, where a lock in it
    // would be held by no clock: a settings file there is guarded from the
    // computer's own folder. Any other one (a portable folder, maybe shared
    // by several users) keeps its lock beside it, where every clock on it
    // sees the one lock whichever way its path is written.
    const QString roaming = QDir::cleanPath(QFileInfo(userSettingsFolder()).absolutePath());
    const QString local = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (roaming.isEmpty() || local.isEmpty() || !path.startsWith(roaming + u'/', Qt::CaseInsensitive))
        return file.absolutePath() + u'/' + file.completeBaseName();
    // Windows takes a path in any case: one name for each way of writing it.
    const QByteArray key = QCryptographicHash::hash(path.toLower().toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return local + QStringLiteral("/Lumitakt/Lumitakt-") + QString::fromLatin1(key);
}

} // namespace lumitakt
