#include "platform/singleclock.h"

#include "files/trustedfiles.h"
#include "logging.h"
#include "platform/system.h"
#include "settings/settingsfile.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QThread>

namespace lumitakt {

namespace {

// A clock takes a request at once; one that has not taken it by then is on
// another computer (a shared home folder) or hangs. Kept above a polling
// watcher's interval, for file systems that report no changes.
constexpr int kAnswerWaitMs = 3000;
constexpr int kPollMs = 50;
// A request not taken within this time is made anew: a change the running
// clock's watcher missed (Wine misses one now and then) comes again.
constexpr int kAskAgainMs = 1000;
// How often the running clock looks for a request its watcher missed.
constexpr int kLookAgainMs = 1000;

} // namespace

SingleClock::SingleClock(QString settingsFile, QObject *parent) : QObject(parent), m_settingsFile(std::move(settingsFile)) {}

SingleClock::~SingleClock() = default;

SingleClock::Claim SingleClock::claim()
{
    // A clock that never writes the file cannot undo another's choices, and
    // leaves no lock where it must not write either.
    if (m_settingsFile.isEmpty() || !settingsWriteRefusal(m_settingsFile).isEmpty())
        return Claim::Alone;
    const QString name = singleClockFiles(m_settingsFile);
    if (name.isEmpty()) {
        m_writeRefusal = QStringLiteral("there is no folder for the lock that keeps one clock per settings file");
        return Claim::Unreachable;
    }
    // Without the lock's folder there is no lock, and another clock could
    // write the file too: this one leaves it alone, and says why.
    if (QString why; !makeFolder(QFileInfo(name).absolutePath(), &why)) {
        m_writeRefusal = why;
        return Claim::Unreachable;
    }
    m_request = name + QStringLiteral(".show");
    m_lock = std::make_unique<FileLock>(name + QStringLiteral(".lock"));
    switch (m_lock->take()) {
    case FileLock::State::Held:
        watchForRequests();
        return Claim::Alone;
    case FileLock::State::Refused:
        // Without the lock another clock could write the file too: this one
        // leaves it alone, and says why (the keeper does, once).
        m_writeRefusal = m_lock->why();
        return Claim::Unreachable;
    case FileLock::State::HeldByAnother:
        break;
    }

    // The clock that holds the lock is asked to come to the front: it takes
    // the request away at once.
    QString said;
    bool asked = makeRequestFile(m_request, &said);
    if (!asked) {
        m_writeRefusal = said;
        return Claim::Unreachable;
    }
    if (!said.isEmpty())
        qCWarning(lcSettings).noquote() << said;
    const QDeadlineTimer deadline(kAnswerWaitMs);
    QDeadlineTimer askAgain(kAskAgainMs);
    while (asked && !deadline.hasExpired()) {
        QThread::msleep(kPollMs);
        if (!requestFileThere(m_request))
            return Claim::ShownOther;
        if (askAgain.hasExpired()) {
            takeRequestFile(m_request);
            asked = makeRequestFile(m_request);
            askAgain.setRemainingTime(kAskAgainMs);
        }
    }
    takeRequestFile(m_request);
    m_writeRefusal = m_lock->holder() + QStringLiteral(" keeps them, and does not answer");
    return Claim::Unreachable;
}

void SingleClock::watchForRequests()
{
    const auto answer = [this] {
        if (takeRequestFile(m_request))
            Q_EMIT showRequested();
    };
    m_watcher = std::make_unique<QFileSystemWatcher>(QStringList{QFileInfo(m_request).absolutePath()});
    connect(m_watcher.get(), &QFileSystemWatcher::directoryChanged, this, answer);
    // A folder watcher can miss a change (Wine's does now and then, and some
    // network file systems report none): the folder is also looked at once
    // a second, with one look at the name while there is no request.
    m_poll.setInterval(kLookAgainMs);
    connect(&m_poll, &QTimer::timeout, this, [this, answer] {
        if (QFileInfo::exists(m_request))
            answer();
    });
    m_poll.start();
    // A start that came while this clock was taking the lock: its window is
    // about to show anyway.
    takeRequestFile(m_request);
}

void SingleClock::release()
{
    m_poll.stop();
    m_watcher.reset();
    if (m_lock && m_lock->held())
        takeRequestFile(m_request);
    m_lock.reset();
}

} // namespace lumitakt
