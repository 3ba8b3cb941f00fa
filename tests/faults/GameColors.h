// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// The colour files of a game folder in the fault tests: each differs from the others,
// so a test can tell which one a file holds.
const QByteArray gameColors = "<?xml version=\"1.0\"?>\n<Root>\n"
                              "    <HTMLColor name=\"ctch_clan\" color=\"0x40FF80\" />\n"
                              "    <HTMLColor name=\"ctch_tell\" color=\"#ff80ff\" />\n"
                              "</Root>\n";
const QByteArray backupColors = "<Root><HTMLColor name=\"ctch_clan\" color=\"0x010101\"/></Root>\n";
const QByteArray originalColors =
    "<Root><HTMLColor name=\"ctch_clan\" color=\"0x020202\"/></Root>\n";
const QByteArray bundledColors =
    "<Root><HTMLColor name=\"ctch_clan\" color=\"0x030303\"/></Root>\n";
