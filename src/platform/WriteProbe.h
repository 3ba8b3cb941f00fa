// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Whether the system lets this process create files in a folder, asked the only
// reliable way: by creating one. Permissions as text (QFileInfo::isWritable) miss
// Windows' access lists, a read-only mount and a folder the game's installer gave
// only to administrators, such as one below Program Files.
class WriteProbe
{
public:
    // Creates an empty file of a name of its own in `folder` and removes it again.
    // False, with the system's reason, when the file cannot be created.
    static bool canCreateIn(const QString& folder, QString* error = nullptr);
};
