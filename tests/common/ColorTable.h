// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/AOColors.h"

#include <QPair>
#include <QVector>

// Fills the program-wide table the way the colour file reader does: only name and
// text are set, and appending reads the text.
inline void setColorTable(const QVector<QPair<QString, QString>>& entries)
{
    aoColors.clear();
    for (const auto& entry : entries) {
        AOColor color;
        color.name = entry.first;
        color.value = entry.second;
        aoColors.append(color);
    }
}
