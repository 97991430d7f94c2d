#include "platform/timesetter.h"

#include "model/servername.h"

namespace lumitakt {

std::optional<SyncPlan> syncPlan(const QString &server, SyncRequest, bool, const QString &, qint64)
{
    const QString name = server.trimmed();
    if (!isServerName(name.toStdString()))
        return std::nullopt;
    // net time \\server /set /yes
    return SyncPlan{std::nullopt,
                    {QStringLiteral("net"), {QStringLiteral("time"), QStringLiteral("\\\\") + name, QStringLiteral("/set"), QStringLiteral("/yes")}}};
}

QString helperRefusal(const QString &)
{
    return {};
}

} // namespace lumitakt
