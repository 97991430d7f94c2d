#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;

namespace lumitakt {

// One clock per settings file. Two clocks on one file would each write back
// their own values when they end, and a choice made in one would be lost to
// the other. The first clock holds a lock beside the file and listens on a
// local socket named after it; a later start finds the lock held, asks the
// running clock to come to the front and ends. A lock left by a clock that
// died is taken over. Clocks on different files (two portable folders) run
// side by side.
class SingleClock final : public QObject {
    Q_OBJECT
public:
    enum class Claim {
        Alone,       // this is the clock for the file, or there is nothing to share
        ShownOther,  // the clock already running was asked to come to the front: end now
        Unreachable, // a clock holds the file but does not answer: run without writing it
    };

    explicit SingleClock(QString settingsFile, QObject *parent = nullptr);
    ~SingleClock() override;

    Claim claim();
    // After Unreachable, why this clock must leave the settings file alone.
    const QString &writeRefusal() const { return m_writeRefusal; }

Q_SIGNALS:
    // Another start of the program asked this clock to show itself.
    void showRequested();

private:
    void listen(const QString &name);

    QString m_settingsFile;
    QString m_writeRefusal;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QLocalServer> m_server;
};

} // namespace lumitakt
