#include "platform/commandstarter.h"

#include <unistd.h>

namespace lumitakt {

void ProcessCommandStarter::start(const QString &program, const QStringList &arguments)
{
    launch(program, arguments, true, {});
}

void ProcessCommandStarter::startAsAdministrator(const QString &program, const QStringList &arguments)
{
    // Linux asks through pkexec, which the plan names itself.
    start(program, arguments);
}

bool ProcessCommandStarter::startsAsRoot() const
{
    return ::geteuid() == 0;
}

} // namespace lumitakt
