// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/AOColor.h"

#include <QWidget>

class QTreeWidgetItem;

// The page that lists every colour group of the file, shown in advanced mode.
class AdvancedModeDlg : public QWidget
{
    Q_OBJECT

public:
    explicit AdvancedModeDlg(QWidget* parent = nullptr);

    void setBackgroundColor(AOColor color);
    void updateColors();

protected slots:
    virtual void pickColor(QTreeWidgetItem* item, int column);
    virtual void pickColor();

signals:
    void pickColor(const QString& color);

private:
    AOColor backgroundColor;
};
