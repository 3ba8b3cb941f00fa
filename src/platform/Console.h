// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where a command-line answer (--version, --help) goes. tintwell.exe is a program of
// Windows' graphical subsystem, which starts without a console: started from a
// Command Prompt or PowerShell it would print into nothing.
class Console
{
public:
    // Windows: standard output and errors go to the console of the program that
    // started this one, when there is one and they were not sent elsewhere (a file, a
    // pipe). Elsewhere nothing to do.
    static void attachToParent();
};
