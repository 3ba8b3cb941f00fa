// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QScrollArea;
class QVBoxLayout;

// The "About..." tab: the picture, the name and version, what Tintwell is for, and
// the reminder that it only changes what the player sees.
class AboutDlg : public QWidget
{
    Q_OBJECT

public:
    explicit AboutDlg(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

    QVBoxLayout* layout;
    QLabel* pictureLabel;
    QLabel* textLabel;

private:
    QScrollArea* scroller;
};
