// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Why a file operation failed, in one form for all of src/files: the operation returns
// false and, when the caller passes a text, gives the reason in it. Reasons the system
// gives come from src/platform (SystemError, in the same form); reasons of Tintwell's
// own (a file that is not a colour file, one too large to read) are written where they
// are found.
class FileError
{
public:
    // The one way to report a failure: `text` into `error` when given, and false.
    static bool fail(QString* error, const QString& text);
    // The same for a file: "<the path, in the system's own separators>: <reason>".
    static bool fail(QString* error, const QString& path, const QString& reason);
};
