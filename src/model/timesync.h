#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace lumitakt {

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
    bool operator==(const SyncPlan &) const = default;
};

// Who asks for the clock to be set: the user through the menu, who may be
// asked for the administrator's password, or the tick, which never asks.
enum class SyncRequest { ByUser, ByTick };

// The name of the polkit action that allows setting the clock.
inline constexpr char16_t kSyncActionId[] = u"org.lumitakt.Lumitakt.sync";
// The helper that sets the clock, in its folder.
inline constexpr char16_t kSyncHelper[] = u"/lumitakt-sync";

// What to start for the stored server name (blanks at either end do not
// count), or nothing when no server is set or the name cannot be one.
// On Linux only the helper in `helperFolder` sets the clock: started
// directly where the program runs as root, otherwise through pkexec; the
// tick first asks pkcheck whether polkit allows it without a question.
std::optional<SyncPlan> syncPlan(const QString &server, SyncRequest request, bool asRoot, const QString &helperFolder,
                                 qint64 processId);

// The tick synchronises during second 0 of every tenth minute.
inline bool syncDue(int minute, int second)
{
    return minute % 10 == 0 && second == 0;
}

} // namespace lumitakt
