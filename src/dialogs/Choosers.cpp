// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/Choosers.h"

#include "platform/QtDialogState.h"
#include "platform/Wine.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QList>

namespace
{
struct Presets {
    QList<QString> folders;
    QList<QString> files;
    QList<QColor> colors;
    QString folderCaption;
    QString folderStart;
    QString fileStart;
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
    const QtDialogState dialogState;
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

namespace
{

// The preset next file, when one is queued; the request is recorded either way.
bool takeFile(const QString& start, QString* file)
{
    Presets& state = presets();
    state.fileStart = start;
    if (state.files.isEmpty())
        return false;
    *file = state.files.takeFirst();
    return true;
}

} // namespace

QString Choosers::chooseOpenFile(QWidget* parent, const QString& caption, const QString& start,
                                 const QString& filter)
{
    QString file;
    if (takeFile(start, &file))
        return file;
    const QtDialogState dialogState;
    return QFileDialog::getOpenFileName(parent, caption, start, filter);
}

QString Choosers::chooseSaveFile(QWidget* parent, const QString& caption, const QString& start,
                                 const QString& filter)
{
    QString file;
    if (takeFile(start, &file))
        return file;
    // The caller asks before a file is replaced: some files are refused whatever the
    // answer, and asking first would then be a question in vain.
    const QtDialogState dialogState;
    return QFileDialog::getSaveFileName(parent, caption, start, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
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

void Choosers::setNextFile(const QString& file)
{
    presets().files.append(file);
}

void Choosers::setNextColor(const QColor& color)
{
    presets().colors.append(color);
}

int Choosers::pendingResults()
{
    return presets().folders.size() + presets().files.size() + presets().colors.size();
}

QString Choosers::lastFolderCaption()
{
    return presets().folderCaption;
}

QString Choosers::lastFolderStart()
{
    return presets().folderStart;
}

QString Choosers::lastFileStart()
{
    return presets().fileStart;
}

QColor Choosers::lastColorInitial()
{
    return presets().colorInitial;
}

void Choosers::clearResults()
{
    presets() = Presets();
}
