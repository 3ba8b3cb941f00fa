// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UndoKeys.h"

#include "app/ColorHistory.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QWidget>

UndoKeys::UndoKeys(ColorHistory* history, QWidget* window)
    : QObject(window), history(history), undoAction(history->createUndoAction(window)),
      redoAction(history->createRedoAction(window))
{
    undoAction->setObjectName(QStringLiteral("undoAction"));
    redoAction->setObjectName(QStringLiteral("redoAction"));
    undoAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    redoAction->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))});
    // The field takes the keys of its own platform itself; the others come here.
    connect(undoAction, &QAction::triggered, this, [this] { takeStep(false); });
    connect(redoAction, &QAction::triggered, this, [this] { takeStep(true); });
    window->addAction(undoAction);
    window->addAction(redoAction);
}

void UndoKeys::takeStep(bool redo)
{
    if (auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget()))
        redo ? field->redo() : field->undo();
    else
        redo ? history->redo() : history->undo();
}
