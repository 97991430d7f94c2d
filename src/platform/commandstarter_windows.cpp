#include "platform/commandstarter.h"

#include "logging.h"

#include <QProcess>

#include <qt_windows.h>

namespace lumitakt {

void ProcessCommandStarter::start(const QString &program, const QStringList &arguments)
{
    // A console command runs in a minimised window that takes no focus.
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments *args) {
        args->flags |= CREATE_NEW_CONSOLE;
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = SW_SHOWMINNOACTIVE;
    });
    if (!process.startDetached())
        qCWarning(lcCommands).noquote() << "could not start" << program << "-" << process.errorString();
}

bool ProcessCommandStarter::startsAsRoot() const
{
    return false;
}

} // namespace lumitakt
