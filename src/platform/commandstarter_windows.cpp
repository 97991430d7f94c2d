#include "platform/commandstarter.h"

#include "files/trustedfiles.h"

#include <qt_windows.h>

#include <vector>

namespace lumitakt {

void ProcessCommandStarter::start(const QString &program, const QStringList &arguments, Finished finished)
{
    startProgram(program, arguments, {}, std::move(finished));
}

void ProcessCommandStarter::startAsAdministrator(const QString &program, const QStringList &arguments, Finished finished)
{
    startProgram(program, arguments, {.asAdministrator = true}, std::move(finished));
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
