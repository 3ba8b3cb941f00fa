// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/FolderPath.h"

#include <QDir>

FolderPath::Style FolderPath::platformStyle()
{
#ifdef Q_OS_WIN
    return Style::Windows;
#else
    return Style::Native;
#endif
}

QString FolderPath::fromDialog(const QString& chosen, Style style)
{
    if (style == Style::Native)
        return QDir::toNativeSeparators(chosen);
    QString path = chosen;
    path.replace(QLatin1Char('/'), QLatin1Char('\\'));
    if (!path.isEmpty())
        path[0] = path.at(0).toUpper();
    return path;
}
