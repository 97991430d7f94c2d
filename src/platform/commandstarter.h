#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace lumitakt {

// Starts external programs without a shell: the arguments reach the program
// exactly as given, never parsed as a command line. A program that cannot be
// started changes nothing for the caller. Nothing here ever waits for a
// program: `finished` gets its exit status once it has ended, or -1 when it
// could not start or crashed (an empty one is not called).
class CommandStarter {
public:
    using Finished = std::function<void(int exitCode)>;
    virtual ~CommandStarter() = default;
    // Started; what it writes to its error output reaches ours (Linux).
    virtual void start(const QString &program, const QStringList &arguments, Finished finished) = 0;
    // Started once the system has asked the user for an administrator's
    // consent (Windows: UAC); not started if refused (`finished` gets -1).
    virtual void startAsAdministrator(const QString &program, const QStringList &arguments, Finished finished) = 0;
    // Started quietly: its output goes nowhere.
    virtual void run(const QString &program, const QStringList &arguments, Finished finished) = 0;
    // Whether the programs started may set the computer's clock without
    // asking: on Linux they run as root; on Windows the clock's token holds
    // the right to change the system time.
    virtual bool startsAsRoot() const = 0;
};

// The real thing (startProgram): only a program no other user can change
// is started, from the file checked. On Linux every program runs as a child
// of the clock, and the event loop collects its end: pkexec takes the
// process that started it as the one asking, and refuses to serve a process
// that has already gone, so a program reparented away (started detached) is
// never allowed anything. On Windows a command runs without a console
// window, and one started with consent in a minimised one; the event loop
// learns of its end too. (start, startAsAdministrator and startsAsRoot:
// commandstarter_posix.cpp, commandstarter_windows.cpp.)
class ProcessCommandStarter final : public CommandStarter {
public:
    void start(const QString &program, const QStringList &arguments, Finished finished) override;
    void startAsAdministrator(const QString &program, const QStringList &arguments, Finished finished) override;
    void run(const QString &program, const QStringList &arguments, Finished finished) override;
    bool startsAsRoot() const override;
};

} // namespace lumitakt
