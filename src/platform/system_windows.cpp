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

std::unique_ptr<SoundPlayer> systemSoundPlayer()
{
    return std::make_unique<WinSoundPlayer>();
}

QString userSettingsFolder()
{
    // Windows keeps what a user's programs remember in the roaming profile.
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

namespace {

// The path Windows itself gives the nearest folder of `path` that exists,
// with the rest of `path` after it: a mapped drive, a subst drive, a short
// name or a junction on the way all come out as the one real path.
QString realPath(const QString &path)
{
    QString folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QString rest;
    for (;;) {
        HANDLE handle = CreateFileW(QDir::toNativeSeparators(folder).toStdWString().c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            wchar_t real[32768];
            const DWORD length = GetFinalPathNameByHandleW(handle, real, 32768, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
            CloseHandle(handle);
            if (length > 0 && length < 32768)
                folder = QDir::fromNativeSeparators(QString::fromWCharArray(real, static_cast<int>(length)));
            return folder + rest;
        }
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            return folder + rest;
        rest = u'/' + QFileInfo(folder).fileName() + rest;
        folder = parent;
    }
}

} // namespace

QString singleClockFiles(const QString &settingsFile)
{
    const QString local = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (local.isEmpty())
        return {};
    // Windows takes a path in any case: one name for each way of writing it.
    const QString path = realPath(settingsFile).toLower();
    const QByteArray key = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return local + QStringLiteral("/Lumitakt/Lumitakt-") + QString::fromLatin1(key);
}

} // namespace lumitakt
