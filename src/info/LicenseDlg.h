// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QTextEdit;
class QVBoxLayout;

// The "License" tab: the licence text shipped beside the program, read-only.
class LicenseDlg : public QWidget
{
    Q_OBJECT

public:
    explicit LicenseDlg(QWidget* parent = nullptr);

protected:
    QVBoxLayout* layout;
    QTextEdit* textEdit;

private:
    void loadText();
};
