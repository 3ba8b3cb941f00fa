// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What main() does once the application object exists, kept in the library so
// tests run the very same start-up and shut-down.
class Tintwell
{
public:
    // Before the application object exists: the window is laid out in logical pixels
    // and scaled by the screen's factor, 150% included, so every text keeps its room.
    static void setUpScaling();
    // Ties the windows to the desktop entry (X11 class, Wayland app id) and its icon.
    static void identify();
    // The Plastique style where its plugin is installed, Fusion otherwise.
    static void applyStyle();
    // Says once, before anything else, which of the files shipped beside the program
    // are missing from the working folder, and where they were looked for.
    static void warnOfMissingCompanions();
    // Builds the window and runs it, writes the preferences however it was closed, and
    // returns 0; -1 without showing the window when no game folder is chosen.
    static int run();
};
