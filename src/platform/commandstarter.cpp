#include "platform/commandstarter.h"

#include <QProcess>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <unistd.h>
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

void DetachedCommandStarter::run(const QString &program, const QStringList &arguments, std::function<void(int exitCode)> finished)
{
    // The process object goes once its program has ended; the event loop
    // collects the program, so it never lingers as a zombie.
    auto *process = new QProcess;
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process, [process, finished](int exitCode, QProcess::ExitStatus status) {
        finished(status == QProcess::NormalExit ? exitCode : -1);
        process->deleteLater();
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, finished](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        finished(-1);
        process->deleteLater();
    });
    process->start(program, arguments);
}

bool DetachedCommandStarter::startsAsRoot() const
{
#ifdef Q_OS_WIN
    return false;
#else
    return ::geteuid() == 0;
#endif
}

} // namespace lumitakt
