// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// Every question and warning Tintwell shows, so they all look alike.
class Messages
{
public:
    static QString title();
    // A modal warning box with Yes then No; only Yes goes ahead.
    static bool askYesNo(QWidget* parent, const QString& question);
    static void warn(QWidget* parent, const QString& text);
};
