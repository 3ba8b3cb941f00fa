// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/AOColor.h"

#include <QStringList>
#include <QWidget>

// The curated page of chat groups shown in basic mode.
class BasicModeDlg : public QWidget
{
    Q_OBJECT

public:
    explicit BasicModeDlg(QWidget* parent = nullptr);

    void setBackgroundColor(AOColor color);
    void updateColors();

protected slots:
    virtual void buttonClicked(const QStringList& cgs);

signals:
    void pickColor(const QStringList& cgs);
};
