// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/AOColor.h"

#include <QList>
#include <QWidget>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;

// The page that lists every colour group of the file, shown in advanced mode. The
// tree is a picture of the colour table and is rebuilt whole on every refresh.
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

protected:
    bool event(QEvent* event) override;

    QVBoxLayout* layout;
    QTreeWidget* tree;
    QPushButton* button;
    QLabel* label;
    AOColor backgroundColor;

private:
    void showContent(bool shown);
    QList<QTreeWidgetItem*> buildRows() const;
};
