#include "platform/timesetter.h"

#include "logging.h"
#include "platform/commandstarter.h"

#include <QCoreApplication>

namespace lumitakt {

TimeSetter::TimeSetter(CommandStarter &commands, QString helperFolder) : m_commands(commands), m_helperFolder(std::move(helperFolder))
{
}

void TimeSetter::setClock(const QString &server, SyncRequest request)
{
    SyncNote note;
    const std::optional<SyncPlan> plan =
        syncPlan(server, request, m_commands.startsAsRoot(), m_helperFolder, QCoreApplication::applicationPid(), &note);
    if (!plan) {
        if (!note.text.isEmpty() && m_said.isNew(note.text)) {
            if (note.type == QtInfoMsg)
                qCInfo(lcCommands).noquote() << note.text;
            else
                qCWarning(lcCommands).noquote() << note.text;
        }
        return;
    }
    if (const QString refusal = helperRefusal(m_helperFolder); !refusal.isEmpty()) {
        const QString text = QStringLiteral("The clock is not set: its helper is not started, since ") + refusal;
        if (m_said.isNew(text))
            qCWarning(lcCommands).noquote() << text;
        return;
    }
    const auto report = [name = server.trimmed()](int exitCode) { syncFinished(name, exitCode); };
    if (plan->asAdministrator) {
        m_commands.startAsAdministrator(plan->command.program, plan->command.arguments, report);
        return;
    }
    if (!plan->check) {
        m_commands.start(plan->command.program, plan->command.arguments, report);
        return;
    }
    CommandStarter &commands = m_commands;
    commands.run(plan->check->program, plan->check->arguments, [&commands, command = plan->command, report](int exitCode) {
        if (exitCode == 0)
            commands.start(command.program, command.arguments, report);
    });
}

} // namespace lumitakt
