// SPDX-License-Identifier: GPL-3.0-or-later
// Holds a file open as the running game may: reading and writing shared, deletion
// (and so replacement) not. Prints "held" once the file is open and keeps it open
// until its standard input ends.
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t* argv[])
{
    if (argc != 2)
        return 2;
    const HANDLE file = ::CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    std::puts("held");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    ::CloseHandle(file);
    return 0;
}
