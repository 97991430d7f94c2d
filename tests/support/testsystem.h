#pragma once

// What the tests do differently on each system, one file per system chosen
// in CMake as the program's own are (testsystem_linux.cpp,
// testsystem_windows.cpp).

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace lumitakt::test {

// The program and the arguments that set the computer's clock from
// `server` where no question is put first (as root on Linux).
QStringList setClockCommand(const QString &helperFolder, const QString &server);

// A command of the system that makes the folder `folder`, for starting a
// real program whose effect a test can see.
QStringList makeFolderCommand(const QString &folder);

// Why the program starts no helper of its own to set the clock here, or an
// empty text where it does (Linux).
QString noOwnHelper();

// Gives the file, folder or link at `path` (a link itself, not what it
// points to) to another user; false where the system or the user running
// the test cannot (root only, Linux only).
bool giveToAnotherUser(const QString &path);

// Makes `link` a symbolic link to `target`; false where the system has none
// that the program's files meet (Windows).
bool makeSymbolicLink(const QString &target, const QString &link);

// Gives another user the right to write the folder `path` through its
// access control list; false where there are none (Windows, a file system
// without them).
bool letAnotherUserWrite(const QString &path);

// Makes a named pipe at `path`; false where the system has none (Windows).
bool makeNamedPipe(const QString &path);

// Runs `check` while the folder `path` can be written by the group this
// user is in with others (a shared primary group such as "users", and umask
// 002), and returns what it returned; nothing where that cannot be staged
// (root only, Linux only).
std::optional<bool> inSharedGroupFolder(const QString &path, const std::function<bool()> &check);

// Runs `write` as if the disk were full and returns what
// it returned; nothing where a full disk cannot be staged (Windows).
std::optional<bool> writeOnFullDisk(const std::function<bool()> &write);

// Holds the file at `path` open for `ms` milliseconds, as a virus scanner
// does, without letting anyone replace or remove it meanwhile; false where
// an open file never keeps that from happening (Unix).
bool holdOpenFor(const QString &path, int ms);

} // namespace lumitakt::test
