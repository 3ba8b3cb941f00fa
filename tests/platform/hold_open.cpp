// SPDX-License-Identifier: GPL-3.0-or-later
// Holds a file open as the running game may: reading and writing shared, deletion
// (and so replacement) not; with "exclusive", nothing shared, so that no other program
// can even read it. Prints "held" once the file is open and keeps it open until its
// standard input ends, or for the given number of milliseconds, as a virus scanner
// would.
//
// usage: hold_open FILE [shared|exclusive] [MILLISECONDS]
#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t* argv[])
{
    if (argc < 2 || argc > 4)
        return 2;
    const bool exclusive = argc > 2 && std::wcscmp(argv[2], L"exclusive") == 0;
    const HANDLE file =
        ::CreateFileW(argv[1], GENERIC_READ, exclusive ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    std::puts("held");
    std::fflush(stdout);
    if (argc == 4) {
        ::Sleep(DWORD(std::wcstoul(argv[3], nullptr, 10)));
    } else {
        while (std::getchar() != EOF) {
        }
    }
    ::CloseHandle(file);
    return 0;
}
