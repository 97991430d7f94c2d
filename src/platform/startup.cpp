#include "platform/startup.h"

#include "files/trustedfiles.h"
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

ProgramFiles ProgramFiles::installed()
{
    return {QStringLiteral(LUMITAKT_INSTALLED_DATADIR), QStringLiteral(LUMITAKT_INSTALLED_HELPERDIR), {}};
}

namespace {

// The folder `relative` to the program, unless what lies there is another
// user's to change: then the installed package's folder (`installed`), and
// the log says so.
QString trustedOr(const QString &relative, const QString &installed)
{
    const QString why = untrustedBecause(relative);
    if (why.isEmpty() || !QFileInfo::exists(relative) || relative == installed)
        return relative;
    qCWarning(lcSettings).noquote() << "Lumitakt uses" << installed << "instead of" << relative << "since" << why;
    return installed;
}

} // namespace

ProgramFiles ProgramFiles::find(const QString &programFolder, const QString &userConfigFolder, const ProgramFiles &installed)
{
    const QDir folder(programFolder);
    // A copy in a folder that another user can change (root running it from
    // /tmp, say) takes nothing from beside itself: the installed package's
    // help, sound and helper, and the user's own settings.
    const QString foreign = untrustedBecause(programFolder);
    if (!foreign.isEmpty()) {
        qCWarning(lcSettings).noquote() << "Lumitakt takes its help, sound and helper from" << installed.dataFolder << "and"
                                        << installed.helperFolder << "and keeps no settings beside the program, since" << foreign;
        return {installed.dataFolder, installed.helperFolder,
                userConfigFolder.isEmpty() ? QString() : userConfigFolder + QStringLiteral("/Lumitakt.ini")};
    }
    QString portable;
    for (const QString &marker : {QStringLiteral("Lumitakt.portable"), QStringLiteral("Lumitakt.ini")})
        if (portable.isEmpty() && QFileInfo::exists(folder.filePath(marker)))
            portable = folder.filePath(marker);
    // A marker counts only where no one else could have put it.
    if (!portable.isEmpty()) {
        if (const QString why = untrustedBecause(portable); !why.isEmpty()) {
            qCWarning(lcSettings).noquote() << "Lumitakt does not keep its files beside the program, since" << why;
            portable.clear();
        }
    }
    if (!portable.isEmpty()) {
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
    files.dataFolder = trustedOr(QDir::cleanPath(folder.filePath(QStringLiteral("../share/lumitakt"))), installed.dataFolder);
    files.helperFolder = QFileInfo::exists(folder.filePath(QStringLiteral("lumitakt-sync")))
                             && untrustedBecause(folder.filePath(QStringLiteral("lumitakt-sync"))).isEmpty()
                             ? programFolder
                             : trustedOr(QDir::cleanPath(folder.filePath(QStringLiteral("../libexec/lumitakt"))), installed.helperFolder);
    // Never into the program's own folders: with no folder of the user's,
    // the settings live in memory for this run.
    if (!userConfigFolder.isEmpty())
        files.settingsFile = userConfigFolder + QStringLiteral("/Lumitakt.ini");
    return files;
}

} // namespace lumitakt
