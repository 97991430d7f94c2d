/* Holds a file open for reading, without letting anyone write or delete it,
   as a running program's file is held: holdopen FILE SECONDS. Prints "held"
   once it holds it. Holds no mutex of the clock's. */
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

int wmain(int argc, wchar_t **argv)
{
    if (argc != 3)
        return 100;
    HANDLE file = CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        fprintf(stderr, "cannot open the file: Windows error %lu\n", GetLastError());
        return 1;
    }
    printf("held\n");
    fflush(stdout);
    Sleep((DWORD)_wtoi(argv[2]) * 1000);
    CloseHandle(file);
    return 0;
}
