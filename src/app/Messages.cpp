// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Messages.h"

#include <QMessageBox>

QString Messages::title()
{
    return QStringLiteral("Tintwell v0.3");
}

bool Messages::askYesNo(QWidget* parent, const QString& question)
{
    // Every question is about throwing something away, so Return alone must not do it.
    return QMessageBox::warning(parent, title(), question, QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
}

void Messages::warn(QWidget* parent, const QString& text)
{
    QMessageBox::warning(parent, title(), text);
}
