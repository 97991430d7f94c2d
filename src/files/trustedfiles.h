#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QFile;
class QProcess;

namespace lumitakt {

// Every file the program opens, makes, locks or starts goes through here, so
// that one set of rules keeps other users out of what it does, whoever runs
// it (root too: `sudo -E` with a user's HOME, a portable copy in /tmp).
// tools/check-files.sh fails the build's checks for an open, a lock, a
// folder made or a program started anywhere else in src/.
//
// The rules (Linux; Windows leaves the access rules to the system):
// - Trusted: a file or folder that it and every folder above it belong to
//   root or to the user the program runs as, and that no one else can
//   change: not writable by others, nor by a group other than the owner's
//   own private group (named after the owner, with no other members); a
//   folder that others may write counts only with its sticky bit, for the
//   entries its trusted owners made.
// - A symbolic link is followed only where it stands in a trusted folder
//   and belongs to root or to this user: a link that another user could
//   have made is never followed, for reading either.
// - Nothing is ever waited for: a pipe, a device or a folder in the place
//   of a file is refused, not opened.
// One file per system: trustedfiles_linux.cpp, trustedfiles_windows.cpp;
// trustedfiles.cpp holds what they share.

// Why `path` is not trusted, or an empty text where it is.
QString untrustedBecause(const QString &path);

enum class Reading {
    AnyOwner, // data whose owner does not matter (a settings file root reads for a user)
    Trusted,  // a file whose content decides what the program does: the help, the sound
};

// Opens `path` for reading when it is a regular file (checked on the opened
// file), reached without a link another user could have made. The file
// descriptor, or -1 with the reason in `why` (left empty where the file is
// simply not there); the caller closes it.
int openForReading(const QString &path, Reading reading, QString *why = nullptr);
// The same into a QFile.
bool openForReading(QFile &file, Reading reading, QString *why = nullptr);

// Why this process must not write the file `path`, or an empty text where it
// may: the file, if there, a regular file of this user's (never a link); its
// folder this user's, trusted, and writable; a missing folder only where the
// nearest one that exists is such.
QString writeRefusal(const QString &path);
// Makes `folder` and the folders missing above it, each only for this user
// (0700, as the XDG rules ask), where writeRefusal allows a file in it.
bool makeFolder(const QString &folder, QString *why = nullptr);
// Puts `bytes` in the place of `path` whole or not at all: written to a new
// file beside it, which replaces the old one once complete. False if not
// written (a short write on a full disk included). On Windows a file that
// another program holds open for a moment (a virus scanner, a cloud
// folder's client) is waited for a little before that.
bool replaceFile(const QString &path, const QByteArray &bytes);
// Adds `bytes` to the end of the log file `path`, begun anew once it has
// grown past `limit` bytes.
bool appendToLog(const QString &path, const QByteArray &bytes, qint64 limit);

// An exclusive lock on the file `path` in a folder of this user's, released
// when the object goes (or the process dies: the system releases it). The
// lock file holds who holds it ("PID on HOST").
class FileLock {
public:
    enum class State {
        Held,          // this process holds it
        HeldByAnother, // another process holds it: holder() says which
        Refused,       // no lock can be had here: why() says why
    };

    explicit FileLock(QString path);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    State take();
    bool held() const { return m_handle != nullptr; }
    QString holder() const { return m_holder; }
    QString why() const { return m_why; }

private:
    struct Handle;
    QString m_path;
    QString m_holder;
    QString m_why;
    std::unique_ptr<Handle> m_handle;
};

// A request left as an empty file, in a folder of this user's, for the
// program that watches it. Making one never truncates or writes through
// anything: a link or a pipe found in its place is removed (`said` tells
// of it); a folder there refuses the request (false, `said` tells why).
bool makeRequestFile(const QString &path, QString *said = nullptr);
// Whether something is in the place of the request.
bool requestFileThere(const QString &path);
// Takes the request away: true if it was one (a regular file).
bool takeRequestFile(const QString &path);

// How a program is started.
struct StartOptions {
    bool forwardErrors = false;   // what it writes to its error output reaches ours
    bool asAdministrator = false; // Windows: once the system has asked for an administrator's consent (UAC),
                                  // in a minimised window of its own
};

// Starts the program at the absolute path `program`, never through a shell:
// the arguments reach it exactly as given. On Linux only a trusted program is
// started, checked as it is opened and run from the opened file, so nothing
// can be swapped in between. The event loop learns of its end (on Windows
// of one started with consent too), and `finished` gets its exit status, or
// -1 when it could not start or crashed. False (and `finished` with -1) when
// it was not started.
bool startProgram(const QString &program, const QStringList &arguments, StartOptions options,
                  std::function<void(int exitCode)> finished = {});

// Shared by the systems' files: the process object goes once the program
// has ended, and the event loop collects the program, so it never lingers
// as a zombie; `finished` as for startProgram, or with `crashStatus` the
// status a crash ended it with (on Windows an NTSTATUS such as 0xC000013A,
// its console closed) instead of -1.
void collectWhenFinished(QProcess *process, std::function<void(int exitCode)> finished, bool crashStatus = false);

} // namespace lumitakt
