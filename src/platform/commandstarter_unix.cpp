#include "platform/commandstarter.h"

#include <unistd.h>

namespace lumitakt {

void ProcessCommandStarter::start(const QString &program, const QStringList &arguments)
{
    launch(program, arguments, true, {});
}

bool ProcessCommandStarter::startsAsRoot() const
{
    return ::geteuid() == 0;
}

} // namespace lumitakt
