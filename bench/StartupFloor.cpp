// SPDX-License-Identifier: GPL-3.0-or-later
// The least a window like Tintwell's can cost to start: a fixed-size dialog in the
// same style with four empty tabs and two buttons. Start-up time is measured against it.
#include "app/Tintwell.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpacerItem>
#include <QTabWidget>
#include <QVBoxLayout>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Tintwell::applyStyle();

    QDialog dialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint);
    dialog.setWindowTitle(QStringLiteral("Startup floor"));
    dialog.setFixedSize(360, 430);
    auto* layout = new QVBoxLayout(&dialog);
    auto* tabs = new QTabWidget(&dialog);
    for (const char* title : {"Chat Colors", "Settings", "About...", "License"})
        tabs->addTab(new QWidget(), QString::fromLatin1(title));
    layout->addWidget(tabs);
    auto* buttons = new QHBoxLayout();
    buttons->addWidget(new QPushButton(QStringLiteral("&Save"), &dialog));
    buttons->addItem(new QSpacerItem(20, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    buttons->addWidget(new QPushButton(QStringLiteral("&Close"), &dialog));
    layout->addLayout(buttons);
    return dialog.exec();
}
