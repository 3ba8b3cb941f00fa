// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/HelpLabel.h"

#include <QEvent>

// A layout gives a wrapped text its width and asks heightForWidth() for the height at
// that width; the least it can have is the height of its own lines, which no width
// makes fewer. An unwrapped text has the sizes QLabel gives it.
QSize HelpLabel::sizeHint() const
{
    return wordWrap() ? minimumSizeHint() : QLabel::sizeHint();
}

QSize HelpLabel::minimumSizeHint() const
{
    return wordWrap() ? QSize(0, heightForWidth(QWIDGETSIZE_MAX)) : QLabel::minimumSizeHint();
}

int HelpLabel::heightForWidth(int width) const
{
    if (text() != measuredText) {
        heights.clear();
        measuredText = text();
    }
    const auto known = heights.constFind(width);
    if (known != heights.constEnd())
        return *known;
    const int height = QLabel::heightForWidth(width);
    heights.insert(width, height);
    return height;
}

void HelpLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange ||
        event->type() == QEvent::ContentsRectChange)
        heights.clear();
}
