// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/FileError.h"

#include <QDir>

bool FileError::fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

bool FileError::fail(QString* error, const QString& path, const QString& reason)
{
    return fail(error, QDir::toNativeSeparators(path) + QLatin1String(": ") + reason);
}
