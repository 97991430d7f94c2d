#include "platform/timesetter.h"

#include "model/servername.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace lumitakt {

namespace {

// The name of the polkit action that allows setting the clock.
constexpr char16_t kSyncActionId[] = u"org.lumitakt.Lumitakt.sync";
// The helper that sets the clock, in its folder.
constexpr char16_t kSyncHelper[] = u"/lumitakt-sync";

} // namespace

std::optional<SyncPlan> syncPlan(const QString &server, SyncRequest request, bool asRoot, const QString &helperFolder,
                                 qint64 processId)
{
    const QString name = server.trimmed();
    if (!isServerName(name.toStdString()))
        return std::nullopt;
    const QString helper = helperFolder + QString::fromUtf16(kSyncHelper);
    if (asRoot)
        return SyncPlan{std::nullopt, {helper, {name}}};
    // By their paths: a PATH set by someone else must not choose them.
    SyncPlan plan{std::nullopt, {QStringLiteral("/usr/bin/pkexec"), {helper, name}}};
    if (request == SyncRequest::ByTick)
        plan.check = SyncCommand{QStringLiteral("/usr/bin/pkcheck"), {QStringLiteral("--action-id"), QString::fromUtf16(kSyncActionId),
                                                             QStringLiteral("--process"), QString::number(processId)}};
    return plan;
}

QString helperRefusal(const QString &helperFolder)
{
    const QString helper = helperFolder + QString::fromUtf16(kSyncHelper);
    const uid_t self = ::geteuid();
    QString path = QFileInfo(helper).canonicalFilePath();
    if (path.isEmpty())
        return QStringLiteral("%1 is not there").arg(helper);
    while (true) {
        struct stat info {};
        if (::stat(QFile::encodeName(path).constData(), &info) != 0)
            return QStringLiteral("%1 cannot be looked at").arg(path);
        if (info.st_uid != 0 && info.st_uid != self)
            return QStringLiteral("%1 belongs to another user (uid %2)").arg(path).arg(info.st_uid);
        const bool othersWrite = (info.st_mode & (S_IWGRP | S_IWOTH)) != 0;
        if (othersWrite && !(S_ISDIR(info.st_mode) && (info.st_mode & S_ISVTX)))
            return QStringLiteral("other users can change %1").arg(path);
        const QString parent = QFileInfo(path).absolutePath();
        if (parent == path)
            return {};
        path = parent;
    }
}

} // namespace lumitakt
