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
    // A larger file is no licence text (the GPL is 35 KB) and is not shown.
    static const qint64 maxSize = 1024 * 1024;

    explicit LicenseDlg(QWidget* parent = nullptr);

protected:
    QVBoxLayout* layout;
    QTextEdit* textEdit;

private:
    void loadText();
};
