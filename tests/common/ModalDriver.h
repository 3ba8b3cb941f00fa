// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <functional>

// Answers modal dialogs from inside a test: each action is applied to the next
// modal dialog that opens, in order. Whatever is left over is counted, so a test can
// check that exactly the expected dialogs appeared.
class ModalDriver : public QObject
{
public:
    using Action = std::function<void(QWidget*)>;

    ModalDriver()
    {
        timer.setInterval(5);
        connect(&timer, &QTimer::timeout, this, &ModalDriver::poll);
        timer.start();
    }

    ModalDriver& then(Action action)
    {
        actions.append(std::move(action));
        return *this;
    }

    int handled() const { return seen; }
    int pending() const { return actions.size(); }
    QStringList titles() const { return seenTitles; }
    QStringList texts() const { return seenTexts; }

    static Action reject()
    {
        return [](QWidget* w) { static_cast<QDialog*>(w)->reject(); };
    }
    static Action chooseFolder(const QString& folder)
    {
        return [folder](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            QVERIFY2(dialog, "expected a folder dialog");
            dialog->setDirectory(folder);
            dialog->selectFile(folder);
            QMetaObject::invokeMethod(dialog, "accept");
        };
    }
    static Action answer(QMessageBox::StandardButton button)
    {
        return [button](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY2(box, "expected a message box");
            box->button(button)->click();
        };
    }
    static Action chooseColor(const QColor& color)
    {
        return [color](QWidget* w) {
            auto* dialog = qobject_cast<QColorDialog*>(w);
            QVERIFY2(dialog, "expected a colour chooser");
            dialog->setCurrentColor(color);
            dialog->accept();
        };
    }

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == last || !modal->isVisible() || actions.isEmpty())
            return;
        last = modal;
        ++seen;
        seenTitles.append(modal->windowTitle());
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            seenTexts.append(box->text());
        actions.takeFirst()(modal);
    }

    QTimer timer;
    QList<Action> actions;
    QPointer<QWidget> last;
    int seen = 0;
    QStringList seenTitles;
    QStringList seenTexts;
};
