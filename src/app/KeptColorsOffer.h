// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QString>

class AOColors;
class ColorFolder;
class FileStamp;
class QWidget;

// The game put its own file back (a patch, a repair, a reinstall), or the player edited
// it by hand: the colours they last saved are offered again, as an import would take
// them, once for each content of the file.
class KeptColorsOffer
{
    Q_DECLARE_TR_FUNCTIONS(KeptColorsOffer)

public:
    // For the colour file of `folder` just loaded into `table`: true when the player
    // takes the kept colours back, which are then in `scheme`, read from `file`. A
    // declined offer is remembered for the file's content.
    static bool ask(QWidget* parent, const ColorFolder& folder, const FileStamp& loaded,
                    const AOColors& table, AOColors* scheme, QString* file);
};
