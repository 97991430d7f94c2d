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
    const std::optional<SyncPlan> plan = syncPlan(server, request, m_commands.startsAsRoot(), m_helperFolder, QCoreApplication::applicationPid());
    if (!plan)
        return;
    if (const QString refusal = helperRefusal(m_helperFolder); !refusal.isEmpty()) {
        if (refusal != m_refusal)
            qCWarning(lcCommands).noquote() << "The clock is not set: its helper is not started, since" << refusal;
        m_refusal = refusal;
        return;
    }
    if (plan->asAdministrator) {
        m_commands.startAsAdministrator(plan->command.program, plan->command.arguments);
        return;
    }
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
