// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FontSubstitutes.h"

#include <QSettings>

QString FontSubstitutes::of(const QString& family)
{
#ifdef Q_OS_WIN
    const QSettings substitutes(
        QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\"
                       "FontSubstitutes"),
        QSettings::NativeFormat);
    return substitutes.value(family).toString();
#else
    Q_UNUSED(family)
    return QString();
#endif
}
