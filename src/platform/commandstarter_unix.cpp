#include "platform/commandstarter.h"

#include "files/trustedfiles.h"

#include <unistd.h>

namespace lumitakt {

void ProcessCommandStarter::start(const QString &program, const QStringList &arguments)
{
    startProgram(program, arguments, {.forwardErrors = true});
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
