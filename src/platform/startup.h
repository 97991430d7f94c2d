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

// The user's folder for Lumitakt's settings by the XDG rules: in
// $XDG_CONFIG_HOME, else in $HOME/.config; a relative path counts as none
// (the rules say to ignore it). Empty where there is no such folder.
QString userConfigFolder(const QByteArray &xdgConfigHome, const QByteArray &home);

// Where the program's files are. A portable folder (the build folder, an
// unpacked archive) is marked as one by the file Lumitakt.portable beside
// the program, or by the settings file found there, and keeps everything
// there, settings included, unless this user cannot write the settings file
// there: then they go to the user's configuration folder, as an installed
// program's do; a missing sound or help never turns it into an installed
// program. An installed program finds its data in
// ../share/lumitakt and its helper in ../libexec/lumitakt, and keeps its
// settings in the user's configuration folder: it never writes into its own
// folders, whoever runs it.
// What another user could have put or changed counts for nothing (see
// untrustedBecause): a marker in such a folder makes no portable folder,
// and data or a helper there give way to the installed package's own.
struct ProgramFiles {
    QString dataFolder;   // the alarm sound, the help and its pictures
    QString helperFolder; // lumitakt-sync, which sets the computer's clock
    QString settingsFile; // Lumitakt.ini; empty: no place for it, kept in memory

    // Everything in one folder.
    static ProgramFiles inOneFolder(const QString &folder);
    // The installed package's folders, fixed when it was built.
    static ProgramFiles installed();
    // For the program in `programFolder`, looking at what lies beside it.
    static ProgramFiles find(const QString &programFolder, const QString &userConfigFolder,
                             const ProgramFiles &installed = ProgramFiles::installed());
};

} // namespace lumitakt
