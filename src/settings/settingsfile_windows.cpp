#include "settings/settingsfile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace lumitakt {

// Windows keeps a user's settings in the user's profile, where the system's
// own access rules decide. Whether they let this process write the folder
// (the nearest that exists) shows only by trying: a folder's attributes say
// nothing of its access list.
QString settingsWriteRefusal(const QString &path)
{
    QString folder = QFileInfo(path).absolutePath();
    while (!QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            return QStringLiteral("its folder cannot be looked at");
        folder = parent;
    }
    QTemporaryFile probe(folder + QStringLiteral("/Lumitakt.XXXXXX.tmp"));
    if (!probe.open())
        return QStringLiteral("the folder %1 cannot be written").arg(QDir::toNativeSeparators(folder));
    return {};
}

} // namespace lumitakt
