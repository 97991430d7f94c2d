#include "platform/timesetter.h"

#include "logging.h"
#include "model/servername.h"

#include <QDir>

#include <qt_windows.h>

namespace lumitakt {

namespace {

// Windows' own net.exe, by its full path: a program started by name alone
// is looked for in the clock's own folder first, where anyone who can put a
// file beside a portable copy could put a net.exe of their own.
QString netCommand()
{
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    return QDir::toNativeSeparators(QString::fromWCharArray(folder, static_cast<int>(length)) + QStringLiteral("/net.exe"));
}

} // namespace

std::optional<SyncPlan> syncPlan(const QString &server, SyncRequest request, bool asRoot, const QString &, qint64, SyncNote *note)
{
    const auto noPlan = [note](QtMsgType type, const QString &text) {
        if (note)
            *note = {type, text};
        return std::nullopt;
    };
    const QString name = server.trimmed();
    const QString net = netCommand();
    if (!isServerName(name.toStdString()) || net.isEmpty())
        return std::nullopt;
    // net time names its server as a UNC path (\\SERVER), which takes a host
    // name or an IPv4 address; an IPv6 address there is no server name.
    if (name.contains(u':'))
        return noPlan(QtWarningMsg, QStringLiteral("The clock is not set from %1 since Windows' net time takes no IPv6 address: "
                                                   "name the server by its host name.")
                                        .arg(name));
    // Setting the time needs a right that a standard user's token and an
    // administrator's filtered one do not hold. The menu's command asks for
    // an administrator's consent; the tick never puts that question.
    if (!asRoot && request == SyncRequest::ByTick)
        return noPlan(QtInfoMsg, QStringLiteral("The clock is not set every ten minutes: that needs an administrator's rights, "
                                                "which only \"synchronisieren\" in the menu asks for."));
    // net time \\server /set /yes
    return SyncPlan{std::nullopt,
                    {net, {QStringLiteral("time"), QStringLiteral("\\\\") + name, QStringLiteral("/set"), QStringLiteral("/yes")}},
                    !asRoot};
}

void syncFinished(const QString &server, int exitCode)
{
    // What net time wrote vanished with it: its exit status is all there is.
    const QString unc = QStringLiteral("\\\\") + server;
    if (exitCode == 0)
        qCInfo(lcCommands).noquote() << "Uhr gestellt von" << unc;
    else if (exitCode == 2)
        qCWarning(lcCommands).noquote() << "Uhr nicht gestellt von" << unc
                                        << "- net time endete mit 2: der Server ist nicht zu erreichen oder nennt keine Zeit,"
                                        << "oder das Recht, die Uhr zu stellen, fehlt";
    else if (exitCode != -1)
        // A negative one is a Windows status (0xC000013A: its window was closed).
        qCWarning(lcCommands).noquote() << "Uhr nicht gestellt von" << unc << "- net time endete mit"
                                        << (exitCode > 0 ? QString::number(exitCode)
                                                         : QStringLiteral("0x%1").arg(static_cast<quint32>(exitCode), 8, 16, QLatin1Char(u'0')));
    // -1: not started, which was said when it happened.
}

QString helperRefusal(const QString &)
{
    return {};
}

} // namespace lumitakt
