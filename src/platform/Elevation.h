// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Starting Tintwell again with an administrator's rights, for a game folder that
// Windows lets only administrators change (one below Program Files).
class Elevation
{
public:
    // Windows, when this process runs without an administrator's rights (as a normal
    // user, or an administrator whose rights User Account Control holds back). Always
    // false elsewhere.
    static bool possible();
    // Starts this program again with the same arguments in the same working folder,
    // so it reads the same Tintwell.cfg, after Windows has asked the player (ShellExecute's
    // "runas"). False, with the reason, when it did not start, also when the player
    // said no to Windows' question.
    static bool restartAsAdministrator(QString* error = nullptr);
};
