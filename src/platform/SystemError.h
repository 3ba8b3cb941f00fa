// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The system's own words for why a call failed, with the number a support page can be
// searched for. Windows reports through GetLastError(), the C runtime and POSIX through
// errno; each text is taken right after the failing call. (How a failure reaches the
// caller, false and the reason, is FileError's.)
class SystemError
{
public:
    // The reason of the last failed C runtime or POSIX call (errno).
    static QString fromErrno();
    // The reason of the last failed Windows call (GetLastError()); on other systems
    // the same as fromErrno().
    static QString lastError();
#ifdef Q_OS_WIN
    static QString windowsText(unsigned long code);
#endif
};
