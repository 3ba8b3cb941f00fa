// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ColorHistory.h"

#include "basic/BasicModeDlg.h"

#include <QAction>
#include <QUndoStack>

namespace
{

bool sameTexts(const QList<AOColor>& a, const QList<AOColor>& b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        if (a.at(i).name != b.at(i).name || a.at(i).value != b.at(i).value)
            return false;
    }
    return true;
}

} // namespace

ColorHistory::ColorHistory(QObject* parent) : QObject(parent), steps(new QUndoStack(this))
{
    connect(steps, &QUndoStack::undoTextChanged, this,
            [this](const QString& text) { emit saveTipChanged(saveTip(text)); });
}

// A step that changed no text would make Ctrl+Z seem to do nothing.
bool ColorHistory::record(const QString& text, const QList<AOColor>& before,
                          const QList<AOColor>& after, ColorChange::Apply apply)
{
    if (sameTexts(before, after))
        return false;
    steps->push(new ColorChange(text, before, after, std::move(apply)));
    return true;
}

void ColorHistory::undo()
{
    steps->undo();
}

void ColorHistory::redo()
{
    steps->redo();
}

void ColorHistory::clear()
{
    steps->clear();
}

int ColorHistory::count() const
{
    return steps->count();
}

QAction* ColorHistory::createUndoAction(QObject* parent) const
{
    QAction* action = steps->createUndoAction(parent);
    disconnect(action, nullptr, steps, nullptr);
    return action;
}

QAction* ColorHistory::createRedoAction(QObject* parent) const
{
    QAction* action = steps->createRedoAction(parent);
    disconnect(action, nullptr, steps, nullptr);
    return action;
}

// A step is named as the player knows the colour: by its chat group where it has one.
QString ColorHistory::stepName(const QString& name)
{
    const QString caption = BasicModeDlg::groupCaption(name);
    return caption.isEmpty() ? name : caption;
}

// Where a player looks before saving: what Ctrl+Z would take back.
QString ColorHistory::saveTip(const QString& undoText)
{
    return undoText.isEmpty() ? QString() : tr("Ctrl+Z undoes: %1").arg(undoText);
}
