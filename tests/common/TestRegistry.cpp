// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/TestRegistry.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace
{

// Filled before main() by the registrations of every linked test source.
std::map<std::string, TestRegistry::Run>& classes()
{
    static std::map<std::string, TestRegistry::Run> registered;
    return registered;
}

} // namespace

TestRegistry::TestRegistry(const char* name, Run run)
{
    if (!classes().emplace(name, run).second) {
        std::fprintf(stderr, "%s is registered twice\n", name);
        std::abort();
    }
}

int TestRegistry::main(int argc, char* argv[])
{
    const auto found = argc > 1 ? classes().find(argv[1]) : classes().end();
    if (found == classes().end()) {
        std::fprintf(stderr, "usage: %s CLASS [QtTest options]\nclasses:", argv[0]);
        for (const auto& entry : classes())
            std::fprintf(stderr, " %s", entry.first.c_str());
        std::fprintf(stderr, "\n");
        return 2;
    }
    // QtTest sees the program and then only its own options, as in a program per class.
    argv[1] = argv[0];
    return found->second(argc - 1, argv + 1);
}
