#include "platform/commandstarter.h"

#include "files/trustedfiles.h"

#include <unistd.h>

namespace lumitakt {

void ProcessCommandStarter::start(const QString &program, const QStringList &arguments, Finished finished)
{
    startProgram(program, arguments, {.forwardErrors = true}, std::move(finished));
}

void ProcessCommandStarter::startAsAdministrator(const QString &program, const QStringList &arguments, Finished finished)
{
    // Linux asks through pkexec, which the plan names itself.
    start(program, arguments, std::move(finished));
}

bool ProcessCommandStarter::startsAsRoot() const
{
    return ::geteuid() == 0;
}

} // namespace lumitakt
