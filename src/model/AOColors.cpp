// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/AOColors.h"

AOColors aoColors;

AOColors::~AOColors() = default;

int AOColors::indexOfName(const QString& name) const
{
    for (int i = 0; i < size(); ++i) {
        if (at(i).name == name)
            return i;
    }
    return -1;
}

AOColor AOColors::find(QString name) const
{
    const int i = indexOfName(name);
    return i < 0 ? AOColor() : at(i);
}

bool AOColors::update(AOColor color)
{
    const int i = indexOfName(color.name);
    if (i < 0)
        return false;
    (*this)[i] = color;
    return true;
}
