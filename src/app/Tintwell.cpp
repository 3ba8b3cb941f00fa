// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Tintwell.h"

#include "app/BaseDlg.h"
#include "platform/DialogFont.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

void Tintwell::applyStyle()
{
    QStyle* style = QStyleFactory::create(QStringLiteral("Plastique"));
    if (!style) {
        qDebug("applyStyle(): Plastique style not available, using Fusion");
        style = QStyleFactory::create(QStringLiteral("Fusion"));
    }
    if (style)
        QApplication::setStyle(style);
    DialogFont::apply();
}

int Tintwell::run()
{
    BaseDlg dialog(nullptr);
    dialog.exec();
    dialog.savePrefs();
    return 0;
}
