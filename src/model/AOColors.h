// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/AOColor.h"

#include <QList>

// The colour table in the order of the colour file. Names may repeat; lookups
// always act on the first entry of a name.
class AOColors : public QList<AOColor>
{
public:
    virtual ~AOColors();

    AOColor find(QString name) const;
    bool update(AOColor color);

private:
    int indexOfName(const QString& name) const;
};

// The one program-wide table.
extern AOColors aoColors;
