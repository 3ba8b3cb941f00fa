// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/TestRegistry.h"

int main(int argc, char* argv[])
{
    return TestRegistry::main(argc, argv);
}
