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

const QByteArrayList GameFolder::usualSettings{"AdvancedMode = 0", "BGColor = black"};

QByteArray GameFolder::preferences(const QByteArrayList& settings, const QByteArray& lineEnd) const
{
    return preferencesNaming(folder.toLocal8Bit(), settings, lineEnd);
}

QByteArray GameFolder::preferencesNaming(const QByteArray& folder, const QByteArrayList& settings,
                                         const QByteArray& lineEnd)
{
    const QByteArrayList lines =
        QByteArrayList{"## Tintwell Configuration ##", "AODir = " + folder} + settings;
    return lines.join(lineEnd) + lineEnd;
}
