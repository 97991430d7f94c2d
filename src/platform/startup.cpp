#include "platform/startup.h"

#include <QDir>
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

ProgramFiles ProgramFiles::inOneFolder(const QString &folder)
{
    return {folder, folder, folder + QStringLiteral("/Lumitakt.ini")};
}

ProgramFiles ProgramFiles::find(const QString &programFolder, const QString &userConfigFolder)
{
    const QDir folder(programFolder);
    if (QFileInfo::exists(folder.filePath(QStringLiteral("Termin.wav"))))
        return inOneFolder(programFolder);
    ProgramFiles files;
    files.dataFolder = QDir::cleanPath(folder.filePath(QStringLiteral("../share/lumitakt")));
    files.helperFolder = QFileInfo::exists(folder.filePath(QStringLiteral("lumitakt-sync")))
                             ? programFolder
                             : QDir::cleanPath(folder.filePath(QStringLiteral("../libexec/lumitakt")));
    files.settingsFile = (userConfigFolder.isEmpty() ? programFolder : userConfigFolder) + QStringLiteral("/Lumitakt.ini");
    return files;
}

} // namespace lumitakt
