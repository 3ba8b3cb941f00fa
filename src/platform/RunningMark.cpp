// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RunningMark.h"

#include "Version.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

void RunningMark::hold()
{
#ifdef Q_OS_WIN
    // Never closed: the handle is the mark, for as long as the process lives. A second
    // Tintwell opens the same mutex, which is just as good.
    static const HANDLE mark = CreateMutexW(nullptr, FALSE, Version::runningMutex);
    Q_UNUSED(mark)
#endif
}

bool RunningMark::held()
{
#ifdef Q_OS_WIN
    const HANDLE mark = OpenMutexW(SYNCHRONIZE, FALSE, Version::runningMutex);
    if (!mark)
        return false;
    CloseHandle(mark);
    return true;
#else
    return false;
#endif
}
