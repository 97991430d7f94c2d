#include "support/testsystem.h"

namespace lumitakt::test {

QStringList setClockCommand(const QString &, const QString &server)
{
    return {QStringLiteral("net"), QStringLiteral("time"), QStringLiteral("\\\\") + server, QStringLiteral("/set"),
            QStringLiteral("/yes")};
}

QString noOwnHelper()
{
    return QStringLiteral("Windows sets the clock with net time, as the administrator it asks for itself");
}

bool giveToAnotherUser(const QString &)
{
    return false;
}

bool makeSymbolicLink(const QString &, const QString &)
{
    return false;
}

std::optional<bool> writeOnFullDisk(const std::function<bool()> &)
{
    return std::nullopt;
}

} // namespace lumitakt::test
