#include "support/testsystem.h"
#include "support/stuckpipe.h"

#include <QDir>
#include <QStandardPaths>

#include <qt_windows.h>

#include <thread>

namespace lumitakt::test {

QStringList setClockCommand(const QString &, const QString &server)
{
    // Windows' own net.exe in the system folder, never one found by name.
    const QString system = QDir::toNativeSeparators(QStandardPaths::findExecutable(QStringLiteral("net")));
    return {system, QStringLiteral("time"), QStringLiteral("\\\\") + server, QStringLiteral("/set"),
            QStringLiteral("/yes")};
}

QStringList makeFolderCommand(const QString &folder)
{
    const QString cmd = QDir::toNativeSeparators(QStandardPaths::findExecutable(QStringLiteral("cmd")));
    return {cmd, QStringLiteral("/c"), QStringLiteral("mkdir"), QDir::toNativeSeparators(folder)};
}

QString noOwnHelper()
{
    return QStringLiteral("Windows sets the clock with net time, as the administrator it asks for itself");
}

bool giveToAnotherUser(const QString &)
{
    return false;
}

bool makeSymbolicLink(const QString &, const QString &)
{
    return false;
}

bool letAnotherUserWrite(const QString &)
{
    return false;
}

bool makeNamedPipe(const QString &)
{
    return false;
}

std::optional<bool> inSharedGroupFolder(const QString &, const std::function<bool()> &)
{
    return std::nullopt;
}

std::optional<bool> writeOnFullDisk(const std::function<bool()> &)
{
    return std::nullopt;
}

bool holdOpenFor(const QString &path, int ms)
{
    HANDLE file = CreateFileW(QDir::toNativeSeparators(path).toStdWString().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::thread([file, ms] {
        Sleep(static_cast<DWORD>(ms));
        CloseHandle(file);
    }).detach();
    return true;
}

StuckPipe::StuckPipe(const QString &path) : m_path(path.toUtf8()) {}

StuckPipe::~StuckPipe() = default;

} // namespace lumitakt::test
