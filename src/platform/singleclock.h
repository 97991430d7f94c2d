#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class QFileSystemWatcher;

namespace lumitakt {

class FileLock;

// One clock per settings file. Two clocks on one file would each write back
// their own values when they end, and a choice made in one would be lost to
// the other. The first clock holds a lock (singleClockFiles) and watches
// its folder; a later start finds the lock held, leaves a request there for the
// running clock to come to the front, and ends once the clock has taken it.
// A lock left by a clock that died is taken over. Clocks on different files
// (two portable folders) run side by side.
//
// The request is a file in the settings folder, which belongs to the user
// and which no one else may write, so no other user can answer in the
// running clock's place or keep a clock from starting, as a socket or pipe
// name in a shared namespace would allow; and it needs nothing beyond Qt Core.
class SingleClock final : public QObject {
    Q_OBJECT
public:
    enum class Claim {
        Alone,       // this is the clock for the file, or there is nothing to share
        ShownOther,  // the clock already running took the request to come to the front: end now
        Unreachable, // a clock holds the file but does not answer, or no lock can be had:
                     // run without writing it
    };

    explicit SingleClock(QString settingsFile, QObject *parent = nullptr);
    ~SingleClock() override;

    Claim claim();
    // After Unreachable, why this clock must leave the settings file alone.
    // A lock or request file that is a link, a pipe or a folder is named in
    // it; nothing there is ever opened, followed or waited for.
    const QString &writeRefusal() const { return m_writeRefusal; }

    // Gives up the lock and takes away a request left for this clock: the
    // program is about to end. At the end of a Windows session the system
    // ends the process without unwinding it, once it has been told.
    void release();

Q_SIGNALS:
    // Another start of the program asked this clock to show itself.
    void showRequested();

private:
    void watchForRequests();

    QString m_settingsFile;
    QString m_request;
    QString m_writeRefusal;
    std::unique_ptr<FileLock> m_lock;
    std::unique_ptr<QFileSystemWatcher> m_watcher;
    QTimer m_poll;
};

} // namespace lumitakt
