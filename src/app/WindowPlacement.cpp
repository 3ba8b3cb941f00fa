// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WindowPlacement.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

void WindowPlacement::capFontSize(QWidget* window)
{
    const qreal largest = 9;
    QFont text = window->font();
    if (text.pointSizeF() <= largest)
        return;
    text.setPointSizeF(largest);
    window->setFont(text);
}

// The position moved to is that of the frame, title bar included.
void WindowPlacement::placeOnScreen(QWidget* window)
{
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    QRect place(QPoint(), window->size());
    place.moveCenter(available.center());
    window->move(std::max(place.left(), available.left()), std::max(place.top(), available.top()));
}
