// SPDX-License-Identifier: GPL-3.0-or-later
#include "advanced/AdvancedModeDlg.h"

AdvancedModeDlg::AdvancedModeDlg(QWidget* parent) : QWidget(parent) {}

void AdvancedModeDlg::setBackgroundColor(AOColor color)
{
    backgroundColor = color;
    updateColors();
}

void AdvancedModeDlg::updateColors() {}

void AdvancedModeDlg::pickColor(QTreeWidgetItem* item, int column)
{
    Q_UNUSED(item)
    Q_UNUSED(column)
}

void AdvancedModeDlg::pickColor() {}
