#include "platform/timesetter.h"

#include "files/trustedfiles.h"
#include "model/servername.h"

namespace lumitakt {

namespace {

// The name of the polkit action that allows setting the clock.
constexpr char16_t kSyncActionId[] = u"org.lumitakt.Lumitakt.sync";
// The helper that sets the clock, in its folder.
constexpr char16_t kSyncHelper[] = u"/lumitakt-sync";

} // namespace

std::optional<SyncPlan> syncPlan(const QString &server, SyncRequest request, bool asRoot, const QString &helperFolder,
                                 qint64 processId, SyncNote *)
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

void syncFinished(const QString &, int)
{
    // The helper and pkexec write what went wrong to standard error, which
    // reaches the clock's own.
}

QString helperRefusal(const QString &helperFolder)
{
    // Checked part by part as it will be started, without resolving it first.
    return untrustedBecause(helperFolder + QString::fromUtf16(kSyncHelper));
}

} // namespace lumitakt
