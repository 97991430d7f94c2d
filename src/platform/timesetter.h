#pragma once

#include "model/timesync.h"

#include <QString>

namespace lumitakt {

class CommandStarter;

// Why `program` must not be started to act as root, or an empty text when
// it may: it and every folder above it must belong to root (or to the user
// the clock runs as, unless that is root) and be writable by no one else;
// a folder such as /tmp, whose sticky bit keeps others from replacing what
// is not theirs, may be writable by all. Windows has no such check.
QString programRefusal(const QString &program);

// Sets the computer's clock from a time server, started and forgotten:
// nothing of its result is used, and a command that cannot start changes
// nothing. Where the user may not be asked, a check comes first, and the
// command follows only if it allows it. A helper that someone other than
// root could have put or changed is never started.
class TimeSetter {
public:
    TimeSetter(CommandStarter &commands, QString helperFolder);
    void setClock(const QString &server, SyncRequest request);

private:
    CommandStarter &m_commands;
    QString m_helperFolder;
    QString m_refusal; // the reason last given for not starting the helper
};

} // namespace lumitakt
