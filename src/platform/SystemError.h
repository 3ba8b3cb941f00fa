// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Why a file operation failed, in one form for all of src/files and src/platform: the
// operation returns false and, when the caller passes a text, gives the reason in it.
// The system's own words come with the number a support page can be searched for.
// Windows reports through GetLastError(), the C runtime and POSIX through errno; each
// text is taken right after the failing call.
class SystemError
{
public:
    // The one way to report a failure: `text` into `error` when given, and false.
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
