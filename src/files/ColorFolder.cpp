// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ColorFolder.h"

#include <QFileInfo>

const QLatin1String ColorFolder::suffix("/cd_image/gui/default/");
const QLatin1String ColorFolder::colorFileName("TextColors.xml");

ColorFolder::ColorFolder(const QString& aoPath) : dir(aoPath + suffix) {}

QString ColorFolder::path() const
{
    return dir;
}

QString ColorFolder::colorFile() const
{
    return dir + colorFileName;
}

QString ColorFolder::backupFile() const
{
    return colorFile() + QLatin1String(".bak");
}

QString ColorFolder::originalFile() const
{
    return colorFile() + QLatin1String(".orig");
}

bool ColorFolder::hasColorFile() const
{
    return QFileInfo::exists(colorFile());
}
