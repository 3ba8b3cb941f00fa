// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The game's colour folder below an install folder, and the files Tintwell keeps
// there. The install folder text is used unchanged: the suffix is joined by plain
// concatenation, so whatever separators the player's folder holds stay as they are.
//
// A resolved colour folder is the folder as the system found it when the colours were
// loaded, every link and ".." followed: what Save, the restores and the first-run copy
// write to, whatever the folder field says since.
class ColorFolder
{
public:
    explicit ColorFolder(const QString& aoPath = QString());
    // The colour folder below the install folder as the system resolves it; one that
    // is not resolved, with the reason, when there is no such folder.
    static ColorFolder resolved(const QString& aoPath, QString* error = nullptr);

    bool isResolved() const;
    // The install folder as it was named when the folder was made.
    QString installPath() const;
    // Whether the install folder leads to this very colour folder, however it is spelt.
    bool isFolderOf(const QString& aoPath) const;

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
    // path, link, mount or spelling it is reached: the files only Save and the restores
    // may write. Names the folder's file system takes for one count as one (see
    // FileIdentity::sameEntry).
    bool holds(const QString& file) const;

private:
    QString install;
    QString dir;
    bool real = false;
};
