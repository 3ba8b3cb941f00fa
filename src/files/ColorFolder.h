// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The game's colour folder below an install folder, and the files Tintwell keeps
// there. The install folder text is used unchanged: the suffix is joined by plain
// concatenation, so whatever separators the player's folder holds stay as they are.
class ColorFolder
{
public:
    explicit ColorFolder(const QString& aoPath);

    QString path() const;
    QString colorFile() const;
    QString backupFile() const;
    QString originalFile() const;
    bool hasColorFile() const;
    // False, with the reason, when the colour file is a link that leads to its own
    // backup or one-time copy: writing through it would overwrite the very file that
    // keeps the earlier colours.
    bool checkColorFileLink(QString* error = nullptr) const;
    // Whether `file` is the colour file, its backup or its one-time copy, by whatever
    // path or link it is reached: the files only Save and the restores may write.
    bool holds(const QString& file) const;

    static const QLatin1String suffix;
    static const QLatin1String colorFileName;

private:
    QString dir;
};
