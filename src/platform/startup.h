#pragma once

#include <QByteArray>
#include <QString>

namespace lumitakt {

// The windowing platform to ask Qt for, or an empty text for Qt's own
// choice. In a Wayland session the X11 platform (XWayland) is preferred,
// since Wayland lets no window keep itself on top or choose its place;
// a platform the user chose is always kept.
QByteArray preferredPlatform(const QByteArray &chosenPlatform, const QByteArray &sessionType, const QByteArray &waylandDisplay,
                             const QByteArray &x11Display);

// Where the settings file lives: beside the program, as long as the
// program folder can be written; otherwise (installed for the whole
// system) in the user's configuration folder.
QString settingsFilePath(const QString &programFolder, bool programFolderWritable, const QString &userConfigFolder);

} // namespace lumitakt
