// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class ColorHistory;
class QAction;
class QWidget;

// The window's own undo and redo keys, so they work on every page. Redo answers to both
// keys players know from other programs. Inside a text field the keys edit its text, as
// everywhere on the desktop; elsewhere they step through the colour history.
class UndoKeys : public QObject
{
public:
    UndoKeys(ColorHistory* history, QWidget* window);

private:
    void takeStep(bool redo);

    ColorHistory* history;
    QAction* undoAction;
    QAction* redoAction;
};
