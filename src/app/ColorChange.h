// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/AOColor.h"

#include <QList>
#include <QUndoCommand>

#include <functional>

// One step the player can take back: the colour texts of some names before and after
// a change. The texts are kept as they stood, so a named or eight-digit colour comes
// back as it was read, not reformatted.
//
// The change itself is made before the step is recorded (the colour chooser has to
// be answered first), so the first redo, which QUndoStack runs on push, does nothing.
class ColorChange : public QUndoCommand
{
public:
    using Apply = std::function<void(const QList<AOColor>& texts)>;

    ColorChange(const QString& text, const QList<AOColor>& before, const QList<AOColor>& after,
                Apply apply);

    void undo() override;
    void redo() override;

private:
    QList<AOColor> before;
    QList<AOColor> after;
    Apply apply;
    bool made = true;
};
