// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The system's own words for why a call failed, with the number a support page can be
// searched for. Windows reports through GetLastError(), the C runtime and POSIX through
// errno; each text is taken right after the failing call.
class SystemError
{
public:
    // How a failed call reaches the caller in this layer: `text` into `error` when given,
    // and false. The same form as FileError, which the file layer above uses and this
    // layer cannot include.
    static bool fail(QString* error, const QString& text);
    // The same for a file: "<the path, in the system's own separators>: <reason>".
    static bool fail(QString* error, const QString& path, const QString& reason);

    // The reason of the last failed C runtime or POSIX call (errno).
    static QString fromErrno();
    // The reason of the last failed Windows call (GetLastError()); on other systems
    // the same as fromErrno().
    static QString lastError();
#ifdef Q_OS_WIN
    static QString windowsText(unsigned long code);
#endif
};
