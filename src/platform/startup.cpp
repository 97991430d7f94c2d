#include "platform/startup.h"

#include "logging.h"
#include "settings/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace lumitakt {

QByteArray preferredPlatform(const QByteArray &chosenPlatform, const QByteArray &sessionType, const QByteArray &waylandDisplay,
                             const QByteArray &x11Display)
{
    if (!chosenPlatform.isEmpty())
        return {};
    const bool wayland = sessionType == "wayland" || !waylandDisplay.isEmpty();
    if (!wayland || x11Display.isEmpty())
        return {};
    // Wayland stays the fallback should XWayland not answer.
    return "xcb;wayland";
}

QString userConfigFolder(const QByteArray &xdgConfigHome, const QByteArray &home)
{
    const auto absolute = [](const QByteArray &path) { return path.startsWith('/'); };
    if (absolute(xdgConfigHome))
        return QDir::cleanPath(QFile::decodeName(xdgConfigHome) + QStringLiteral("/Lumitakt"));
    if (absolute(home))
        return QDir::cleanPath(QFile::decodeName(home) + QStringLiteral("/.config/Lumitakt"));
    return {};
}

ProgramFiles ProgramFiles::inOneFolder(const QString &folder)
{
    return {folder, folder, folder + QStringLiteral("/Lumitakt.ini")};
}

ProgramFiles ProgramFiles::find(const QString &programFolder, const QString &userConfigFolder)
{
    const QDir folder(programFolder);
    if (QFileInfo::exists(folder.filePath(QStringLiteral("Lumitakt.portable")))
        || QFileInfo::exists(folder.filePath(QStringLiteral("Lumitakt.ini")))) {
        ProgramFiles files = inOneFolder(programFolder);
        // A portable folder this user cannot write (unpacked into Program
        // Files, onto a share, or another user's) would lose every choice:
        // the settings go to the user's own folder instead.
        const QString refusal = settingsWriteRefusal(files.settingsFile);
        if (!refusal.isEmpty() && !userConfigFolder.isEmpty()) {
            files.settingsFile = userConfigFolder + QStringLiteral("/Lumitakt.ini");
            qCWarning(lcSettings).noquote() << "The settings are kept in" << files.settingsFile << "since"
                                            << QDir::toNativeSeparators(programFolder + QStringLiteral("/Lumitakt.ini"))
                                            << "cannot be written:" << refusal;
        }
        return files;
    }
    ProgramFiles files;
    files.dataFolder = QDir::cleanPath(folder.filePath(QStringLiteral("../share/lumitakt")));
    files.helperFolder = QFileInfo::exists(folder.filePath(QStringLiteral("lumitakt-sync")))
                             ? programFolder
                             : QDir::cleanPath(folder.filePath(QStringLiteral("../libexec/lumitakt")));
    // Never into the program's own folders: with no folder of the user's,
    // the settings live in memory for this run.
    if (!userConfigFolder.isEmpty())
        files.settingsFile = userConfigFolder + QStringLiteral("/Lumitakt.ini");
    return files;
}

} // namespace lumitakt
