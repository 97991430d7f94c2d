#include "model/timesync.h"

#include "model/servername.h"

namespace lumitakt {

std::optional<SyncPlan> syncPlan(const QString &server, SyncRequest request, bool asRoot, const QString &helperFolder,
                                 qint64 processId)
{
    const QString name = server.trimmed();
    if (!isServerName(name.toStdString()))
        return std::nullopt;
#ifdef Q_OS_WIN
    // net time \\server /set /yes
    Q_UNUSED(request)
    Q_UNUSED(asRoot)
    Q_UNUSED(helperFolder)
    Q_UNUSED(processId)
    return SyncPlan{std::nullopt,
                    {QStringLiteral("net"), {QStringLiteral("time"), QStringLiteral("\\\\") + name, QStringLiteral("/set"), QStringLiteral("/yes")}}};
#else
    const QString helper = helperFolder + QString::fromUtf16(kSyncHelper);
    if (asRoot)
        return SyncPlan{std::nullopt, {helper, {name}}};
    // By their paths: a PATH set by someone else must not choose them.
    SyncPlan plan{std::nullopt, {QStringLiteral("/usr/bin/pkexec"), {helper, name}}};
    if (request == SyncRequest::ByTick)
        plan.check = SyncCommand{QStringLiteral("/usr/bin/pkcheck"), {QStringLiteral("--action-id"), QString::fromUtf16(kSyncActionId),
                                                             QStringLiteral("--process"), QString::number(processId)}};
    return plan;
#endif
}

} // namespace lumitakt
