#include "files/trustedfiles.h"

#include "logging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryFile>
#include <QWinEventNotifier>

#include <qt_windows.h>
#include <shellapi.h>

#include <string>

namespace lumitakt {

// Windows keeps a user's files in the user's profile, where the system's own
// access rules decide who may change them; a folder has no pipes or devices
// among its files, and a program is started by its full path.

QString untrustedBecause(const QString &)
{
    return {};
}

int openForReading(const QString &, Reading, QString *why)
{
    if (why)
        *why = QStringLiteral("only a QFile is opened here");
    return -1;
}

bool openForReading(QFile &file, Reading, QString *why)
{
    const QFileInfo info(file.fileName());
    if (!info.isFile()) {
        // A file that is not there is no refusal.
        if (why && info.exists())
            *why = QStringLiteral("%1 is no file").arg(QDir::toNativeSeparators(file.fileName()));
        return false;
    }
    return file.open(QIODevice::ReadOnly);
}

// Whether the access rules let this process write the folder (the nearest
// that exists) shows only by trying: a folder's attributes say nothing of
// its access list.
QString writeRefusal(const QString &path)
{
    QString folder = QFileInfo(path).absolutePath();
    while (!QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            return QStringLiteral("its folder cannot be looked at");
        folder = parent;
    }
    QTemporaryFile probe(folder + QStringLiteral("/Lumitakt.XXXXXX.tmp"));
    if (!probe.open())
        return QStringLiteral("the folder %1 cannot be written").arg(QDir::toNativeSeparators(folder));
    const DWORD attributes = GetFileAttributesW(QDir::toNativeSeparators(path).toStdWString().c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return QStringLiteral("the file %1 is marked read-only").arg(QDir::toNativeSeparators(path));
    return {};
}

bool makeFolder(const QString &folder, QString *why)
{
    if (QDir().mkpath(folder))
        return true;
    if (why)
        *why = QStringLiteral("the folder %1 cannot be made").arg(QDir::toNativeSeparators(folder));
    return false;
}

bool replaceFile(const QString &path, const QByteArray &bytes)
{
    // Written to a new file beside it first, whole or not at all: a short
    // write (a full disk) never puts a cut-off file in place of a good one.
    const std::wstring to = QDir::toNativeSeparators(path).toStdWString();
    std::wstring from;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 5 && file == INVALID_HANDLE_VALUE; ++attempt) {
        from = to + L'.' + QString::number(QRandomGenerator::global()->generate(), 36).toStdWString() + L".tmp";
        file = CreateFileW(from.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            return false;
    }
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool whole = WriteFile(file, bytes.constData(), static_cast<DWORD>(bytes.size()), &written, nullptr)
                       && written == static_cast<DWORD>(bytes.size()) && FlushFileBuffers(file);
    CloseHandle(file);
    // A program that has the file open without letting others replace it
    // (a virus scanner looking at it, a cloud folder's client uploading it)
    // refuses the move for a moment: a few short tries, a sixth of a second
    // at most, and the caller tries again later. A file marked read-only or
    // a folder in its place refuses for good: no wait for those.
    const DWORD there = GetFileAttributesW(to.c_str());
    const bool forGood = there != INVALID_FILE_ATTRIBUTES && (there & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0;
    if (whole && !forGood) {
        for (const int waitMs : {0, 20, 50, 100}) {
            Sleep(static_cast<DWORD>(waitMs));
            if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
                return true;
            const DWORD error = GetLastError();
            if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION)
                break;
        }
    }
    DeleteFileW(from.c_str());
    return false;
}

bool appendToLog(const QString &path, const QByteArray &bytes, qint64 limit)
{
    QFile file(path);
    const bool full = file.size() > limit;
    if (!file.open(QIODevice::WriteOnly | (full ? QIODevice::Truncate : QIODevice::Append)))
        return false;
    return file.write(bytes) == bytes.size();
}

struct FileLock::Handle {
    explicit Handle(const QString &path) : lock(path) {}
    QLockFile lock;
};

FileLock::FileLock(QString path) : m_path(std::move(path)) {}

FileLock::~FileLock() = default;

FileLock::State FileLock::take()
{
    if (QFileInfo(m_path).isDir()) {
        m_why = QStringLiteral("the lock %1 is a folder, not a regular file").arg(QDir::toNativeSeparators(m_path));
        return State::Refused;
    }
    m_handle = std::make_unique<Handle>(m_path);
    // A clock runs all day: only a lock whose clock is gone is stale, never an old one.
    m_handle->lock.setStaleLockTime(0);
    if (m_handle->lock.tryLock(0))
        return State::Held;
    if (m_handle->lock.error() != QLockFile::LockFailedError) {
        m_why = QStringLiteral("the lock %1 cannot be made").arg(QDir::toNativeSeparators(m_path));
        m_handle.reset();
        return State::Refused;
    }
    qint64 pid = 0;
    QString host;
    QString program;
    m_holder = m_handle->lock.getLockInfo(&pid, &host, &program) ? QStringLiteral("the clock %1 on %2").arg(pid).arg(host)
                                                                  : QStringLiteral("another clock");
    m_handle.reset();
    return State::HeldByAnother;
}

bool makeRequestFile(const QString &path, QString *said)
{
    if (QFileInfo(path).isDir()) {
        if (said)
            *said = QStringLiteral("%1 is a folder, so the running clock cannot be asked to show itself").arg(QDir::toNativeSeparators(path));
        return false;
    }
    QFile request(path);
    return request.open(QIODevice::WriteOnly | QIODevice::Append);
}

bool requestFileThere(const QString &path)
{
    return QFileInfo::exists(path);
}

bool takeRequestFile(const QString &path)
{
    return QFileInfo(path).isFile() && QFile::remove(path);
}

namespace {

// One command line of the arguments, each quoted where it holds a blank or
// a quote, as Windows programs split their command line again.
QString commandLine(const QStringList &arguments)
{
    QStringList quoted;
    for (const QString &argument : arguments) {
        if (!argument.isEmpty() && !argument.contains(u' ') && !argument.contains(u'\t') && !argument.contains(u'"')) {
            quoted << argument;
            continue;
        }
        QString text = QStringLiteral("\"");
        int backslashes = 0;
        for (const QChar c : argument) {
            if (c == u'\\') {
                ++backslashes;
                continue;
            }
            text += QString(c == u'"' ? backslashes * 2 + 1 : backslashes, u'\\');
            backslashes = 0;
            text += c;
        }
        text += QString(backslashes * 2, u'\\') + u'"';
        quoted << text;
    }
    return quoted.join(u' ');
}

// Started with the "runas" verb, Windows asks for an administrator's consent
// (UAC) before the program starts, in a minimised window that takes no
// focus. Its end is waited for by the event loop, never by this thread.
bool startAsAdministrator(const QString &program, const QStringList &arguments, std::function<void(int exitCode)> finished)
{
    const std::wstring file = QDir::toNativeSeparators(program).toStdWString();
    const std::wstring parameters = commandLine(arguments).toStdWString();
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOCLOSEPROCESS;
    info.lpVerb = L"runas";
    info.lpFile = file.c_str();
    info.lpParameters = parameters.c_str();
    info.nShow = SW_SHOWMINNOACTIVE;
    if (!ShellExecuteExW(&info)) {
        const DWORD error = GetLastError();
        // A refused consent is the user's answer, not a fault.
        if (error == ERROR_CANCELLED)
            qCInfo(lcCommands).noquote() << "not started, the administrator's consent was refused:" << program;
        else
            qCWarning(lcCommands).noquote() << "could not start" << program << "- Windows error" << error;
        return false;
    }
    if (!info.hProcess) {
        qCInfo(lcCommands).noquote() << "started with consent, its result cannot be known:" << program;
        return true;
    }
    auto *notifier = new QWinEventNotifier(info.hProcess);
    QObject::connect(notifier, &QWinEventNotifier::activated, notifier, [notifier, finished](HANDLE process) {
        DWORD exitCode = 0;
        const bool known = GetExitCodeProcess(process, &exitCode);
        notifier->setEnabled(false);
        CloseHandle(process);
        notifier->deleteLater();
        if (finished)
            finished(known ? static_cast<int>(exitCode) : -1);
    });
    return true;
}

} // namespace

bool startProgram(const QString &program, const QStringList &arguments, StartOptions options, std::function<void(int exitCode)> finished)
{
    if (options.asAdministrator) {
        const bool started = startAsAdministrator(program, arguments, finished);
        if (!started && finished)
            finished(-1);
        return started;
    }
    auto *process = new QProcess;
    process->setProgram(program);
    process->setArguments(arguments);
    // A console command shows no window, not even on the task bar.
    process->setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments *args) { args->flags |= CREATE_NO_WINDOW; });
    process->setStandardOutputFile(QProcess::nullDevice());
    if (options.forwardErrors)
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    else
        process->setStandardErrorFile(QProcess::nullDevice());
    collectWhenFinished(process, std::move(finished), true);
    process->start();
    return true;
}

} // namespace lumitakt
