#include "files/trustedfiles.h"

#include "logging.h"

#include <QProcess>

namespace lumitakt {

void collectWhenFinished(QProcess *process, std::function<void(int exitCode)> finished, bool crashStatus)
{
    QObject::connect(process, &QProcess::finished, process, [process, finished, crashStatus](int exitCode, QProcess::ExitStatus status) {
        if (finished)
            finished(status == QProcess::NormalExit || crashStatus ? exitCode : -1);
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
}

} // namespace lumitakt
