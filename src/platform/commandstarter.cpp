#include "platform/commandstarter.h"

#include <QProcess>

namespace lumitakt {

void DetachedCommandStarter::start(const QString &program, const QStringList &arguments)
{
    // A detached process is reparented away from us, so it never lingers as
    // a zombie; whether it could be started does not matter to the caller.
    QProcess::startDetached(program, arguments);
}

} // namespace lumitakt
