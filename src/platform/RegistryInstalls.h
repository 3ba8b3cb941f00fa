// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QSettings;

// What the Windows registry knows about where the game and Steam are installed. The
// keys are read through QSettings, which reads the registry on Windows; tests hand
// the readers settings laid out like those keys.
class RegistryInstalls
{
public:
    // The install folders of the uninstall entries that name the game, from the
    // uninstall key's settings (one group per installed program).
    static QStringList installFolders(QSettings& uninstall);
    // Steam's install folder from Valve's Steam key, or empty.
    static QString steamRoot(QSettings& steam);

    // A folder as an installer wrote it, plainly: without the quotes many put
    // around it, blanks around it or a trailing separator (a drive's root keeps its).
    static QString plainFolder(const QString& value);

    // The same, read from this machine's registry (machine-wide, 32-bit view and
    // per-user keys). Empty elsewhere than on Windows.
    static QStringList installFolders();
    static QStringList steamRoots();
};
