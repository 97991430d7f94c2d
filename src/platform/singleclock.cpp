#include "platform/singleclock.h"

#include "logging.h"
#include "settings/settingsfile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLockFile>
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

} // namespace

SingleClock::SingleClock(QString settingsFile, QObject *parent) : QObject(parent), m_settingsFile(std::move(settingsFile)) {}

SingleClock::~SingleClock() = default;

SingleClock::Claim SingleClock::claim()
{
    // A clock that never writes the file cannot undo another's choices, and
    // leaves no lock where it must not write either.
    if (m_settingsFile.isEmpty() || !settingsWriteRefusal(m_settingsFile).isEmpty())
        return Claim::Alone;
    const QFileInfo file(m_settingsFile);
    const QString folder = file.absolutePath();
    if (!QDir().mkpath(folder)) {
        qCWarning(lcSettings).noquote() << "The folder" << folder << "cannot be made: the settings will not be written.";
        return Claim::Alone;
    }
    const QString name = folder + u'/' + file.completeBaseName();
    m_request = name + QStringLiteral(".show");
    m_lock = std::make_unique<QLockFile>(name + QStringLiteral(".lock"));
    // A clock runs all day: only a lock whose clock is gone is stale, never an old one.
    m_lock->setStaleLockTime(0);

    bool asked = false;
    const QDeadlineTimer deadline(kAnswerWaitMs);
    QDeadlineTimer askAgain(kAskAgainMs);
    for (;;) {
        if (m_lock->tryLock(0)) {
            watchForRequests();
            return Claim::Alone;
        }
        if (m_lock->error() != QLockFile::LockFailedError) {
            // A folder the clock may not write: the settings will not be written either.
            qCWarning(lcSettings).noquote() << "The lock" << m_lock->fileName() << "cannot be made.";
            return Claim::Alone;
        }
        if (!asked) {
            QFile request(m_request);
            asked = request.open(QIODevice::WriteOnly);
        } else if (!QFileInfo::exists(m_request)) {
            return Claim::ShownOther;
        } else if (askAgain.hasExpired() && QFile::remove(m_request)) {
            QFile request(m_request);
            asked = request.open(QIODevice::WriteOnly);
            askAgain.setRemainingTime(kAskAgainMs);
        }
        if (!asked || deadline.hasExpired())
            break;
        QThread::msleep(kPollMs);
    }
    QFile::remove(m_request);
    qint64 pid = 0;
    QString host;
    QString program;
    m_lock->getLockInfo(&pid, &host, &program);
    m_writeRefusal = QStringLiteral("the clock %1 on %2 keeps them, and does not answer").arg(pid).arg(host);
    return Claim::Unreachable;
}

void SingleClock::watchForRequests()
{
    m_watcher = std::make_unique<QFileSystemWatcher>(QStringList{QFileInfo(m_request).absolutePath()});
    connect(m_watcher.get(), &QFileSystemWatcher::directoryChanged, this, [this] {
        if (takeRequest())
            Q_EMIT showRequested();
    });
    // A start that came while this clock was taking the lock: its window is
    // about to show anyway.
    takeRequest();
}

bool SingleClock::takeRequest()
{
    return QFileInfo::exists(m_request) && QFile::remove(m_request);
}

} // namespace lumitakt
