#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace lumitakt {

// The command that sets the computer's clock once from a time server.
struct SyncCommand {
    QString program;
    QStringList arguments;
};

// The command for a server name, or nothing when no server is set. The name
// is one argument exactly as stored, never parsed by a shell. A name that
// the program would take for an option (it begins with "-"), or that holds
// a NUL character (which would cut it short), starts nothing.
std::optional<SyncCommand> syncCommand(const QString &zeitserver);

// The tick synchronises during second 0 of every tenth minute.
inline bool syncDue(int minute, int second)
{
    return minute % 10 == 0 && second == 0;
}

} // namespace lumitakt
