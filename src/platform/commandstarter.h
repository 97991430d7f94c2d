#pragma once

#include <QString>
#include <QStringList>

namespace lumitakt {

// Starts an external program without waiting for it and without a shell:
// the arguments reach the program exactly as given, never parsed as a
// command line. A program that cannot be started is silently ignored.
class CommandStarter {
public:
    virtual ~CommandStarter() = default;
    virtual void start(const QString &program, const QStringList &arguments) = 0;
};

class DetachedCommandStarter final : public CommandStarter {
public:
    void start(const QString &program, const QStringList &arguments) override;
};

} // namespace lumitakt
