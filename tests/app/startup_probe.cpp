// SPDX-License-Identifier: GPL-3.0-or-later
// Runs Tintwell's real start-up and shut-down in the current folder and closes every
// modal window that opens, as a player pressing Escape would.
#include "app/Tintwell.h"
#include "dialogs/Choosers.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Tintwell::applyStyle();
    QTimer escape;
    QObject::connect(&escape, &QTimer::timeout, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    escape.start(20);
    // The folder question is cancelled through its seam: on Windows it is the
    // system's own dialog, which no Qt timer can close.
    Choosers::setNextFolder(QString());
    return Tintwell::run();
}
