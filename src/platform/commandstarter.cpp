#include "platform/commandstarter.h"

#include <QProcess>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace lumitakt {

void DetachedCommandStarter::start(const QString &program, const QStringList &arguments)
{
    // A detached process is reparented away from us, so it never lingers as
    // a zombie; whether it could be started does not matter to the caller.
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
#ifdef Q_OS_WIN
    // A console command runs in a minimised window that takes no focus.
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments *args) {
        args->flags |= CREATE_NEW_CONSOLE;
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = SW_SHOWMINNOACTIVE;
    });
#endif
    process.startDetached();
}

} // namespace lumitakt
