#include "platform/commandstarter.h"

#include "logging.h"

#include <QDir>
#include <QProcess>

#include <qt_windows.h>
#include <shellapi.h>

#include <memory>
#include <vector>

namespace lumitakt {

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

} // namespace

void ProcessCommandStarter::start(const QString &program, const QStringList &arguments)
{
    // A console command runs in a minimised window that takes no focus.
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments *args) {
        args->flags |= CREATE_NEW_CONSOLE;
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = SW_SHOWMINNOACTIVE;
    });
    if (!process.startDetached())
        qCWarning(lcCommands).noquote() << "could not start" << program << "-" << process.errorString();
}

void ProcessCommandStarter::startAsAdministrator(const QString &program, const QStringList &arguments)
{
    // The "runas" verb has Windows ask for an administrator's consent (UAC)
    // before the program starts, in a minimised window that takes no focus.
    const std::wstring file = QDir::toNativeSeparators(program).toStdWString();
    const std::wstring parameters = commandLine(arguments).toStdWString();
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
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
    }
}

bool ProcessCommandStarter::startsAsRoot() const
{
    // Whether this process's token holds the right to change the system
    // time: an elevated administrator's does, a standard user's or a
    // UAC-filtered administrator's does not.
    LUID systemTime{};
    if (!LookupPrivilegeValueW(nullptr, L"SeSystemtimePrivilege", &systemTime))
        return false;
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    DWORD size = 0;
    GetTokenInformation(token, TokenPrivileges, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    bool holds = false;
    if (size != 0 && GetTokenInformation(token, TokenPrivileges, buffer.data(), size, &size)) {
        const auto *privileges = reinterpret_cast<const TOKEN_PRIVILEGES *>(buffer.data());
        for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
            const LUID id = privileges->Privileges[i].Luid;
            if (id.LowPart == systemTime.LowPart && id.HighPart == systemTime.HighPart)
                holds = true;
        }
    }
    CloseHandle(token);
    return holds;
}

} // namespace lumitakt
