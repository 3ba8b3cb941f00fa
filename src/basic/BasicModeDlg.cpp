// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/BasicModeDlg.h"

BasicModeDlg::BasicModeDlg(QWidget* parent) : QWidget(parent) {}

void BasicModeDlg::setBackgroundColor(AOColor color)
{
    Q_UNUSED(color)
}

void BasicModeDlg::updateColors() {}

void BasicModeDlg::buttonClicked(const QStringList& cgs)
{
    emit pickColor(cgs);
}
