// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/RealDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QtTest>

namespace
{

bool modalIsOpen()
{
    const QWidget* modal = QApplication::activeModalWidget();
    return modal && modal->isVisible();
}

} // namespace

void RealDialogs::whenModal(std::function<void(QWidget* dialog)> action)
{
    // Queued, so the wait begins inside the event loop of the dialog's exec().
    QTimer::singleShot(0, [action = std::move(action)] {
        QTRY_VERIFY_WITH_TIMEOUT(modalIsOpen(), 10000);
        QPointer<QWidget> dialog = QApplication::activeModalWidget();
        action(dialog);
        if (dialog && dialog->isVisible() && QApplication::activeModalWidget() == dialog) {
            if (auto* modal = qobject_cast<QDialog*>(dialog.data()))
                modal->reject();
        }
    });
}

void RealDialogs::chooseFolder(QWidget* dialog, const QString& folder)
{
    auto* files = qobject_cast<QFileDialog*>(dialog);
    QVERIFY2(files, "expected a folder dialog");
    auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY2(name, "the folder dialog has no name box");
    // Set as a paste would: typed key by key, Qt 6's completer quotes the parts of the
    // path it has already listed. The dialog may shorten the text to the name within
    // the folder it shows; the caller checks the folder it gave back.
    name->setText(folder);
    // accept() is the slot behind the dialog's Choose button.
    QMetaObject::invokeMethod(files, "accept");
}
