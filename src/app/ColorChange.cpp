// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ColorChange.h"

#include <utility>

ColorChange::ColorChange(const QString& text, const QList<AOColor>& before,
                         const QList<AOColor>& after, Apply apply)
    : QUndoCommand(text), before(before), after(after), apply(std::move(apply))
{
}

void ColorChange::undo()
{
    apply(before);
    made = false;
}

void ColorChange::redo()
{
    if (!made)
        apply(after);
    made = true;
}
