#include "platform/singleclock.h"

#include "logging.h"
#include "settings/settingsfile.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace lumitakt {

namespace {

// A clock that has just taken the lock needs a moment before it listens;
// one that does not answer by then is on another computer (a shared home
// folder) or hangs.
constexpr int kAnswerWaitMs = 3000;
constexpr int kRetryMs = 100;
// sockaddr_un holds 108 bytes with the closing zero.
constexpr qsizetype kMaxSocketPath = 100;

// The same for every path to the same file, whatever links lead there.
QString serverName(const QString &settingsFile)
{
    const QFileInfo file(settingsFile);
    QString path = QFileInfo(file.absolutePath()).canonicalFilePath() + u'/' + file.fileName();
#ifdef Q_OS_WIN
    path = path.toLower(); // Windows' file names ignore case
#endif
    const QString name = QStringLiteral("lumitakt-")
                         + QString::fromLatin1(QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256).toHex().left(16));
#ifdef Q_OS_UNIX
    // In the user's own runtime folder where there is one, so that no other
    // user can put a socket of that name in the way; else in the temporary
    // folder, under the user's number.
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    struct stat info {};
    if (runtime.startsWith('/') && ::stat(runtime.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid()
        && (info.st_mode & (S_IRWXG | S_IRWXO)) == 0 && runtime.size() + name.size() + 1 <= kMaxSocketPath)
        return QFile::decodeName(runtime) + u'/' + name;
    return name + u'-' + QString::number(::geteuid());
#else
    return name;
#endif
}

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
    if (!QDir().mkpath(file.absolutePath())) {
        qCWarning(lcSettings).noquote() << "The folder" << file.absolutePath() << "cannot be made: the settings will not be written.";
        return Claim::Alone;
    }
    m_lock = std::make_unique<QLockFile>(file.absolutePath() + u'/' + file.completeBaseName() + QStringLiteral(".lock"));
    // A clock runs all day: only a lock whose clock is gone is stale, never an old one.
    m_lock->setStaleLockTime(0);
    const QString name = serverName(m_settingsFile);
    const QDeadlineTimer deadline(kAnswerWaitMs);
    for (;;) {
        if (m_lock->tryLock(0)) {
            listen(name);
            return Claim::Alone;
        }
        if (m_lock->error() != QLockFile::LockFailedError) {
            // A folder the clock may not write: the settings will not be written either.
            qCWarning(lcSettings).noquote() << "The lock" << m_lock->fileName() << "cannot be made.";
            return Claim::Alone;
        }
        QLocalSocket running;
        running.connectToServer(name);
        if (running.waitForConnected(kRetryMs)) {
            running.disconnectFromServer();
            return Claim::ShownOther;
        }
        if (deadline.hasExpired())
            break;
        QThread::msleep(kRetryMs);
    }
    qint64 pid = 0;
    QString host;
    QString program;
    m_lock->getLockInfo(&pid, &host, &program);
    m_writeRefusal = QStringLiteral("the clock %1 on %2 keeps them, and does not answer").arg(pid).arg(host);
    return Claim::Unreachable;
}

void SingleClock::listen(const QString &name)
{
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket a dead clock left behind is in the way: the lock says it is unused.
    if (!m_server->listen(name) && (!QLocalServer::removeServer(name) || !m_server->listen(name))) {
        qCWarning(lcSettings).noquote() << "Cannot listen on" << name << "(" << m_server->errorString()
                                        << "): another start of the program will not bring this clock to the front.";
        return;
    }
    connect(m_server.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *start = m_server->nextPendingConnection()) {
            start->disconnectFromServer();
            start->deleteLater();
        }
        Q_EMIT showRequested();
    });
}

} // namespace lumitakt
