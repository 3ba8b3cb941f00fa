// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// Where the fixed-size window goes on the player's desktop, and the largest text it
// holds without cutting it off.
class WindowPlacement
{
public:
    // The fixed window holds its texts at the small dialog font Windows uses and most
    // desktops offer (9 points); a larger desktop font would cut them off. Larger text
    // comes from the screen's scale, which enlarges the window with it.
    static void capFontSize(QWidget* window);
    // Start-up may ask questions before the window shows, and a question is centred on
    // its parent's window: the window takes its place first, in the middle of the screen
    // the player is working on (the one under the pointer), and once shown it stays
    // there. A window larger than the screen's free area (a small desktop at 200%)
    // starts at its top left, so its title bar stays on the screen to move it by.
    static void placeOnScreen(QWidget* window);
};
