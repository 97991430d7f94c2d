#pragma once

#include "logging.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

namespace lumitakt {

class CommandStarter;

// One command to start, never through a shell.
struct SyncCommand {
    QString program;
    QStringList arguments;
    bool operator==(const SyncCommand &) const = default;
};

// How the computer's clock is set from a time server: the command that does
// it, and, where no question may be put to the user, a check that must exit
// with 0 before that command is started.
struct SyncPlan {
    std::optional<SyncCommand> check;
    SyncCommand command;
    // Started through the system's own request for an administrator's
    // consent (Windows: UAC), once per start.
    bool asAdministrator = false;
    bool operator==(const SyncPlan &) const = default;
};

// Why syncPlan made no plan, where the user should learn of it (Windows:
// a server that net time cannot take; the tick without the right to set
// the time). The TimeSetter says it, once while it stays the same.
struct SyncNote {
    QtMsgType type = QtWarningMsg; // QtInfoMsg where nothing is wrong
    QString text;
};

// Who asks for the clock to be set: the user through the menu, who may be
// asked for the administrator's password, or the tick, which never asks.
enum class SyncRequest { ByUser, ByTick };

// What to start for the stored server name (blanks at either end do not
// count), or nothing when no server is set or the name cannot be one.
// `asRoot`: the programs the clock starts may set the computer's clock
// without asking (see CommandStarter::startsAsRoot).
// Each system has its own (timesetter_linux.cpp, timesetter_windows.cpp):
// on Linux only the helper lumitakt-sync in `helperFolder` sets the clock,
// started directly where the program runs as root, otherwise through
// pkexec, and the tick first asks pkcheck whether polkit allows it without
// a question. On Windows Windows' own net.exe sets it; without the right
// to set the time, the menu asks for an administrator's consent and the
// tick starts nothing. Where there is no plan, `note` may say why.
std::optional<SyncPlan> syncPlan(const QString &server, SyncRequest request, bool asRoot, const QString &helperFolder,
                                 qint64 processId, SyncNote *note = nullptr);

// Why the helper in `helperFolder` must not be started to act as root, or
// an empty text when it may: on Linux it must be trusted (untrustedBecause):
// it and every folder above it belong to root (or to the user the clock
// runs as, unless that is root), no one else can change them, and no link
// on the way could have been made by anyone else. Windows starts no helper
// of its own.
QString helperRefusal(const QString &helperFolder);

// Told the exit status of the command that set the clock from `server`
// (-1: it could not start or crashed). On Windows the log file is the only
// place where the result of net time can be read; on Linux the helper says
// itself on standard error what went wrong.
void syncFinished(const QString &server, int exitCode);

// Sets the computer's clock from a time server, started and forgotten:
// its result is only told (syncFinished), and a command that cannot start
// changes nothing. Where the user may not be asked, a check comes first, and the
// command follows only if it allows it. A helper that someone other than
// root could have put or changed is never started.
class TimeSetter {
public:
    TimeSetter(CommandStarter &commands, QString helperFolder);
    void setClock(const QString &server, SyncRequest request);

private:
    CommandStarter &m_commands;
    QString m_helperFolder;
    SaidOnce m_said; // why the clock was last not set
};

} // namespace lumitakt
