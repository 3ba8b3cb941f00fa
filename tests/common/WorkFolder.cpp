// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/WorkFolder.h"

#include <QDir>

WorkFolder::WorkFolder() : previous(QDir::currentPath())
{
    entered = dir.isValid() && QDir::setCurrent(dir.path());
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
