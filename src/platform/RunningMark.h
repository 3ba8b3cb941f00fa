// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Tells Tintwell's Windows installer and uninstaller that Tintwell is running, so
// they ask the player to close it before they replace or remove tintwell.exe: Windows
// refuses to change a running program's file, and an installer that went on would leave
// the old program, or none, in place.
//
// The mark is a named mutex (Version::runningMutex) in the player's session, which the
// installer opens by name. The system drops it when the process ends, however it ends.
class RunningMark
{
public:
    // Windows: creates the mutex and keeps it to the end of the process. Elsewhere
    // nothing to do.
    static void hold();
    // Whether a Tintwell holds the mark now (this process included).
    static bool held();
};
