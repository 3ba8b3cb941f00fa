// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What main() does once the application object exists, kept in the library so
// tests run the very same start-up and shut-down.
class Tintwell
{
public:
    // The Plastique style where its plugin is installed, Fusion otherwise.
    static void applyStyle();
    // Builds the window (which may end the process when no game folder is chosen),
    // runs it, writes the preferences however it was closed, and returns 0.
    static int run();
};
