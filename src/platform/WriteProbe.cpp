// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WriteProbe.h"

#include "platform/SystemError.h"

#include <QDir>
#include <QTemporaryFile>

bool WriteProbe::canCreateIn(const QString& folder, QString* error)
{
    // A name no other program uses, removed when the object goes.
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".tintwell-probe-XXXXXX")));
    if (probe.open())
        return true;
    return SystemError::fail(error, folder, probe.errorString());
}
