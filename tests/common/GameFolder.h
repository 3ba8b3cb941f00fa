// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// A game install folder as Tintwell finds it: the colour folder below it holds the
// game's colour file, and whatever else a test writes there.
class GameFolder
{
public:
    // One guild chat colour: the smallest colour file Tintwell opens.
    static const QByteArray oneColor;

    explicit GameFolder(const QString& path, const QByteArray& colors = oneColor);

    QString path() const;
    // The colour folder, ending in a separator as Tintwell joins it.
    QString colorFolder() const;
    // A file of the colour folder; the colour file itself by default.
    QString file(const QString& name = QStringLiteral("TextColors.xml")) const;
    void write(const QString& name, const QByteArray& data) const;
    // A preferences file that names this folder, as a later start finds it.
    QByteArray preferences() const;

private:
    QString folder;
};
