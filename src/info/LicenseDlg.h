// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// The "License" tab.
class LicenseDlg : public QWidget
{
    Q_OBJECT

public:
    explicit LicenseDlg(QWidget* parent = nullptr);
};
