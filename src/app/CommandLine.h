// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// The command line's own answers: --version and --help are given on the command line
// and the program ends, before any window or display is asked for. Every other
// argument is left to Qt's application object (-style, -platform and the like).
class CommandLine
{
public:
    // What the arguments (the program's name first) ask for: -1 to start the window,
    // else the exit status after the answer was written to `out`.
    static int answer(const QStringList& arguments, QString* out);
    // answer() on main()'s own arguments, printed on the console it was started from.
    static int answerOnConsole(int argc, char* argv[]);
};
