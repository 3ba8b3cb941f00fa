// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Wine.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

bool Wine::isHost()
{
#ifdef Q_OS_WIN
    // Wine's ntdll exports its version; Windows' never has.
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
#else
    return false;
#endif
}
