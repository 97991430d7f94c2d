#pragma once

#include "platform/clock.h"
#include "platform/commandstarter.h"
#include "platform/helpviewer.h"
#include "platform/services.h"
#include "platform/soundplayer.h"

#include <QList>

#include <functional>

namespace lumitakt {

// Stand-ins for the outside world, for tests and benchmarks: a clock that
// shows what it is told, and recorders for commands, sounds and help.
class FakeClock final : public Clock {
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2026, 12, 6), QTime(14, 5, 33))) : m_now(std::move(start)) {}
    QDateTime now() const override
    {
        ++reads;
        return m_now;
    }
    void set(const QDateTime &now) { m_now = now; }
    void set(QTime time) { m_now.setTime(time); }
    void advance(qint64 ms) { m_now = m_now.addMSecs(ms); }

    mutable int reads = 0; // how often the time was asked for

private:
    QDateTime m_now;
};

struct StartedCommand {
    QString program;
    QStringList arguments;
    bool operator==(const StartedCommand &) const = default;
};

class FakeCommandStarter final : public CommandStarter {
public:
    // Recorded; what they report at their end is not looked at here.
    void start(const QString &program, const QStringList &arguments, Finished) override { started.append({program, arguments}); }
    void startAsAdministrator(const QString &program, const QStringList &arguments, Finished) override
    {
        startedAsAdministrator.append({program, arguments});
    }
    // Recorded like a start; the test ends it with finish().
    void run(const QString &program, const QStringList &arguments, Finished finished) override
    {
        started.append({program, arguments});
        running.append(std::move(finished));
    }
    bool startsAsRoot() const override { return asRoot; }

    // Ends the oldest program still running with the given exit status.
    void finish(int exitCode)
    {
        if (!running.isEmpty())
            running.takeFirst()(exitCode);
    }

    QList<StartedCommand> started;
    QList<StartedCommand> startedAsAdministrator;
    QList<Finished> running;
    bool asRoot = true;
};

class FakeSoundPlayer final : public SoundPlayer {
public:
    void play(const QString &file) override { played.append(file); }
    QStringList played;
};

class FakeHelpViewer final : public HelpViewer {
public:
    void open(const QString &file) override { opened.append(file); }
    QStringList opened;
};

// All four fakes together, ready to hand to a window.
struct FakeServices {
    FakeClock clock;
    FakeCommandStarter commands;
    FakeSoundPlayer sound;
    FakeHelpViewer help;
    Services services() { return {clock, commands, sound, help}; }
};

} // namespace lumitakt
