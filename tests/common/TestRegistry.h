// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The test classes of one folder are linked into one program, which runs one class per
// process: `tests_files TestColorFile [QtTest options]`. One link instead of one per
// class is most of what a build of the tests costs, above all for Windows, where each
// program carries the whole static Qt. Each class still runs alone, with its own
// application object, exactly as QTEST_MAIN would have run it.
//
// The build includes common/RunByName.h before every test source, so QTEST_MAIN and
// QTEST_GUILESS_MAIN register their class here instead of defining main(), and a test
// file is written as any QtTest file is.
class TestRegistry
{
public:
    using Run = int (*)(int argc, char* argv[]);

    // Called once per class, before main(), by the macros of common/RunByName.h.
    explicit TestRegistry(const char* name, Run run);

    // Runs the class named by argv[1] with the remaining arguments, or lists the
    // classes and fails when there is no such class.
    static int main(int argc, char* argv[]);
};
