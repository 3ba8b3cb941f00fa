// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

class ColorFolder;

// Where Export may write a copy of the colours to share: a new name in a real folder,
// or a regular file that is none of the game's own colour files and not Tintwell's
// bundled copy, judged by what the system says the files are (see FileIdentity), not
// by how their paths are spelt.
class ExportTarget
{
public:
    // The file to write for the path the player chose: its name in its folder as the
    // system resolves that folder, so what is written is what was checked. Empty, with
    // the reason, when Export must not write there.
    static QString check(const QString& chosen, const QList<ColorFolder>& gameFolders,
                         const QString& bundledFile, QString* error = nullptr);
};
