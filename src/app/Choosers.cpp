// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Choosers.h"

#include "platform/Wine.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QList>

namespace
{
struct Presets {
    QList<QString> folders;
    QList<QColor> colors;
    QString folderCaption;
    QString folderStart;
    QColor colorInitial;
};

Presets& presets()
{
    static Presets state;
    return state;
}
} // namespace

QString Choosers::chooseFolder(QWidget* parent, const QString& caption, const QString& start)
{
    Presets& state = presets();
    state.folderCaption = caption;
    state.folderStart = start;
    if (!state.folders.isEmpty())
        return state.folders.takeFirst();
    QFileDialog dialog(parent, caption);
    setUpFolderDialog(&dialog, start);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

void Choosers::setUpFolderDialog(QFileDialog* dialog, const QString& start)
{
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly, true);
    dialog->setFilter(dialog->filter() | QDir::Hidden);
    dialog->setDirectory(start);
    // Wine's copy of Windows' folder dialog takes no folder without a name typed or
    // picked, so the found install it opens on could not be taken with Return; Qt's
    // own dialog takes it, as on Linux. On Windows itself its own dialog stays.
    if (Wine::isHost())
        dialog->setOption(QFileDialog::DontUseNativeDialog);
}

QColor Choosers::chooseColor(const QColor& initial, QWidget* parent)
{
    Presets& state = presets();
    state.colorInitial = initial;
    if (!state.colors.isEmpty())
        return state.colors.takeFirst();
    return QColorDialog::getColor(initial, parent);
}

void Choosers::setNextFolder(const QString& folder)
{
    presets().folders.append(folder);
}

void Choosers::setNextColor(const QColor& color)
{
    presets().colors.append(color);
}

int Choosers::pendingResults()
{
    return presets().folders.size() + presets().colors.size();
}

QString Choosers::lastFolderCaption()
{
    return presets().folderCaption;
}

QString Choosers::lastFolderStart()
{
    return presets().folderStart;
}

QColor Choosers::lastColorInitial()
{
    return presets().colorInitial;
}

void Choosers::clearResults()
{
    presets() = Presets();
}
