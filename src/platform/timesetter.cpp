#include "platform/timesetter.h"

#include "logging.h"
#include "platform/commandstarter.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace lumitakt {

TimeSetter::TimeSetter(CommandStarter &commands, QString helperFolder) : m_commands(commands), m_helperFolder(std::move(helperFolder))
{
}

QString programRefusal(const QString &program)
{
#ifdef Q_OS_UNIX
    const uid_t self = ::geteuid();
    QString path = QFileInfo(program).canonicalFilePath();
    if (path.isEmpty())
        return QStringLiteral("%1 is not there").arg(program);
    while (true) {
        struct stat info {};
        if (::stat(QFile::encodeName(path).constData(), &info) != 0)
            return QStringLiteral("%1 cannot be looked at").arg(path);
        if (info.st_uid != 0 && info.st_uid != self)
            return QStringLiteral("%1 belongs to another user (uid %2)").arg(path).arg(info.st_uid);
        const bool othersWrite = (info.st_mode & (S_IWGRP | S_IWOTH)) != 0;
        if (othersWrite && !(S_ISDIR(info.st_mode) && (info.st_mode & S_ISVTX)))
            return QStringLiteral("other users can change %1").arg(path);
        const QString parent = QFileInfo(path).absolutePath();
        if (parent == path)
            return {};
        path = parent;
    }
#else
    Q_UNUSED(program)
    return {};
#endif
}

void TimeSetter::setClock(const QString &server, SyncRequest request)
{
    const std::optional<SyncPlan> plan = syncPlan(server, request, m_commands.startsAsRoot(), m_helperFolder, QCoreApplication::applicationPid());
    if (!plan)
        return;
#ifdef Q_OS_UNIX
    const QString helper = m_helperFolder + QString::fromUtf16(kSyncHelper);
    if (const QString refusal = programRefusal(helper); !refusal.isEmpty()) {
        if (refusal != m_refusal)
            qCWarning(lcCommands).noquote() << "The clock is not set: its helper is not started, since" << refusal;
        m_refusal = refusal;
        return;
    }
#endif
    if (!plan->check) {
        m_commands.start(plan->command.program, plan->command.arguments);
        return;
    }
    CommandStarter &commands = m_commands;
    commands.run(plan->check->program, plan->check->arguments, [&commands, command = plan->command](int exitCode) {
        if (exitCode == 0)
            commands.start(command.program, command.arguments);
    });
}

} // namespace lumitakt
