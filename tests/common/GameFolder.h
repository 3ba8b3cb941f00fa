// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayList>
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
    // The mode and background lines of the preferences file Tintwell writes by default.
    static const QByteArrayList usualSettings;
    // A preferences file that names this folder, as a later start finds it: the header,
    // the folder's line, then `settings`, each line ended by `lineEnd`. Other settings
    // or line ends make the odd files a player's editor or an older version leaves.
    QByteArray preferences(const QByteArrayList& settings = usualSettings,
                           const QByteArray& lineEnd = "\n") const;
    // The same for a folder in the bytes the file stores, in any encoding or form.
    static QByteArray preferencesNaming(const QByteArray& folder,
                                        const QByteArrayList& settings = usualSettings,
                                        const QByteArray& lineEnd = "\n");

private:
    QString folder;
};
