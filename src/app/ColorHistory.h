// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/ColorChange.h"

#include <QObject>

class QAction;
class QUndoStack;

// Every colour change the player can take back, from any page: one step for each
// change that altered a colour text, named as the player knows the colour.
class ColorHistory : public QObject
{
    Q_OBJECT

public:
    explicit ColorHistory(QObject* parent = nullptr);

    // False, and no step, when the change left every text as it was.
    bool record(const QString& text, const QList<AOColor>& before, const QList<AOColor>& after,
                ColorChange::Apply apply);
    void undo();
    void redo();
    void clear();
    int count() const;

    // Actions that show the next step's name and whether there is one. What pressing
    // them does is the window's to decide: a text field takes its own keys first.
    QAction* createUndoAction(QObject* parent) const;
    QAction* createRedoAction(QObject* parent) const;

    static QString stepName(const QString& name);
    // What the Save button's tooltip says Ctrl+Z would take back; empty with no step.
    static QString saveTip(const QString& undoText);

signals:
    void saveTipChanged(const QString& tip);

private:
    QUndoStack* steps;
};
