// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>

// One named colour of the game's colour file. The text in `value` is the master
// copy: an entry that never receives a new colour is written back exactly as read.
class AOColor
{
public:
    enum Format { Named = 0, Hex6 = 1, Hex8 = 2 };

    AOColor();
    // A copy reads the other entry's text again instead of copying the parsed fields.
    AOColor(const AOColor& other);
    AOColor& operator=(const AOColor& other);
    virtual ~AOColor();

    void setValue(const QString& text);
    void setColor(const QColor& color);
    QColor toQColor() const;

    QString name;
    QString value;
    int format = Named;
    int red = -1;
    int green = -1;
    int blue = -1;

private:
    void readComponents(const QString& digits, int redAt);
};
