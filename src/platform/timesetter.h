#pragma once

#include "model/timesync.h"

#include <QString>

namespace lumitakt {

class CommandStarter;

// Sets the computer's clock from a time server, started and forgotten:
// nothing of its result is used, and a command that cannot start changes
// nothing. Where the user may not be asked, a check comes first, and the
// command follows only if it allows it.
class TimeSetter {
public:
    TimeSetter(CommandStarter &commands, QString helperFolder);
    void setClock(const QString &server, SyncRequest request);

private:
    CommandStarter &m_commands;
    QString m_helperFolder;
};

} // namespace lumitakt
