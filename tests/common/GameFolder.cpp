// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/GameFolder.h"

#include "common/Files.h"

const QByteArray GameFolder::oneColor =
    "<Root>\n    <HTMLColor name=\"ctch_clan\" color=\"0x40FF80\" />\n</Root>\n";

GameFolder::GameFolder(const QString& path, const QByteArray& colors) : folder(path)
{
    write(QStringLiteral("TextColors.xml"), colors);
}

QString GameFolder::path() const
{
    return folder;
}

QString GameFolder::colorFolder() const
{
    return folder + QStringLiteral("/cd_image/gui/default/");
}

QString GameFolder::file(const QString& name) const
{
    return colorFolder() + name;
}

void GameFolder::write(const QString& name, const QByteArray& data) const
{
    put(file(name), data);
}

QByteArray GameFolder::preferences() const
{
    return "## Tintwell Configuration ##\nAODir = " + folder.toLocal8Bit() +
           "\nAdvancedMode = 0\nBGColor = black\n";
}
