// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Whether this Windows program runs under Wine (on Linux, with the game under Wine or
// Proton) rather than on Windows itself. Wine's copies of some Windows dialogs behave
// differently from Windows' own.
class Wine
{
public:
    // Always false when not built for Windows.
    static bool isHost();
};
