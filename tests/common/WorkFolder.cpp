// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/WorkFolder.h"

#include <QDir>

WorkFolder::WorkFolder(const QString& inside) : previous(QDir::currentPath()), inside(inside)
{
    entered = dir.isValid() && QDir().mkpath(work()) && QDir::setCurrent(work());
}

WorkFolder::~WorkFolder()
{
    QDir::setCurrent(previous);
}

bool WorkFolder::isValid() const
{
    return entered;
}

QString WorkFolder::path(const QString& name) const
{
    return name.isEmpty() ? dir.path() : dir.filePath(name);
}

QString WorkFolder::work(const QString& name) const
{
    return QDir(path(inside)).filePath(name);
}
