// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// The "About..." tab.
class AboutDlg : public QWidget
{
    Q_OBJECT

public:
    explicit AboutDlg(QWidget* parent = nullptr);
};
