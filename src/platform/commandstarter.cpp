#include "platform/commandstarter.h"

#include "logging.h"

#include <QProcess>

namespace lumitakt {

// The process object goes once the program has ended, and the event loop
// collects the program, so it never lingers as a zombie. What the program
// writes to its error output reaches ours only where asked for: a check
// that answers "no" every ten minutes is no news to anybody.
void ProcessCommandStarter::launch(const QString &program, const QStringList &arguments, bool forwardErrors,
                                   std::function<void(int exitCode)> finished)
{
    auto *process = new QProcess;
    process->setStandardOutputFile(QProcess::nullDevice());
    if (forwardErrors)
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    else
        process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process, [process, finished](int exitCode, QProcess::ExitStatus status) {
        if (finished)
            finished(status == QProcess::NormalExit ? exitCode : -1);
        process->deleteLater();
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, finished](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        qCWarning(lcCommands).noquote() << "could not start" << process->program() << "-" << process->errorString();
        if (finished)
            finished(-1);
        process->deleteLater();
    });
    process->start(program, arguments);
}

void ProcessCommandStarter::run(const QString &program, const QStringList &arguments, std::function<void(int exitCode)> finished)
{
    launch(program, arguments, false, std::move(finished));
}

} // namespace lumitakt
