#include "platform/startup.h"

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

QString settingsFilePath(const QString &programFolder, bool programFolderWritable, const QString &userConfigFolder)
{
    const QString folder = (programFolderWritable || userConfigFolder.isEmpty()) ? programFolder : userConfigFolder;
    return folder + QStringLiteral("/Lumitakt.ini");
}

} // namespace lumitakt
