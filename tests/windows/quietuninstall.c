/* Runs the QuietUninstallString of Lumitakt's Apps entry, as a tool that
   removes programs does (a command line, started without a shell), waits for
   it and ends with its exit code: quietuninstall HKLM|HKCU. 100: no entry,
   101: it could not be started. */
#include <stdio.h>
#include <windows.h>

int wmain(int argc, wchar_t **argv)
{
    const HKEY root = argc > 1 && lstrcmpW(argv[1], L"HKCU") == 0 ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    wchar_t line[4096];
    DWORD size = sizeof line;
    if (RegGetValueW(root, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumitakt", L"QuietUninstallString",
                     RRF_RT_REG_SZ, NULL, line, &size) != ERROR_SUCCESS) {
        fprintf(stderr, "no QuietUninstallString\n");
        return 100;
    }
    STARTUPINFOW startup = {sizeof startup};
    PROCESS_INFORMATION process;
    if (!CreateProcessW(NULL, line, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
        fprintf(stderr, "cannot start it: Windows error %lu\n", GetLastError());
        return 101;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 101;
    GetExitCodeProcess(process.hProcess, &code);
    return (int)code;
}
