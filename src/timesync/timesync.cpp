#include "timesync/timesync.h"

namespace lumitakt {

std::optional<SyncCommand> syncCommand(const QString &zeitserver)
{
    if (zeitserver.isEmpty() || zeitserver.startsWith(u'-') || zeitserver.contains(QChar(u'\0')))
        return std::nullopt;
#ifdef Q_OS_WIN
    // net time \\server /set /yes
    return SyncCommand{QStringLiteral("net"),
                       {QStringLiteral("time"), QStringLiteral("\\\\") + zeitserver, QStringLiteral("/set"), QStringLiteral("/yes")}};
#else
    // Sets the clock once from the named server (Debian: ntpsec-ntpdate).
    return SyncCommand{QStringLiteral("ntpdate"), {zeitserver}};
#endif
}

} // namespace lumitakt
