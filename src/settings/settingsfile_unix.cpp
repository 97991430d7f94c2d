#include "settings/settingsfile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumitakt {

QString settingsWriteRefusal(const QString &path)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) == 0) {
        if (S_ISLNK(info.st_mode))
            return QStringLiteral("it is a symbolic link");
        if (!S_ISREG(info.st_mode))
            return QStringLiteral("it is no regular file");
        if (info.st_uid != ::geteuid())
            return QStringLiteral("it belongs to another user");
    }
    // The folder, or the nearest one that exists. A folder may be a link
    // (to a dotfiles folder, say): where it leads counts.
    QString folder = QFileInfo(path).absolutePath();
    while (::stat(QFile::encodeName(folder).constData(), &info) != 0) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (errno != ENOENT || parent == folder)
            return QStringLiteral("its folder cannot be looked at");
        folder = parent;
    }
    if (info.st_uid != ::geteuid())
        return QStringLiteral("the folder %1 belongs to another user").arg(folder);
    if ((info.st_mode & S_IWOTH) || ((info.st_mode & S_IWGRP) && info.st_gid != ::getegid()))
        return QStringLiteral("other users can write into the folder %1").arg(folder);
    // The new file is written beside the old one and takes its place: one's
    // own folder may still be read-only (a read-only mount, a folder without w).
    if (::faccessat(AT_FDCWD, QFile::encodeName(folder).constData(), W_OK, AT_EACCESS) != 0)
        return QStringLiteral("the folder %1 cannot be written").arg(folder);
    return {};
}

} // namespace lumitakt
