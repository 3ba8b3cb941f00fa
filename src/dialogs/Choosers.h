// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>

class QFileDialog;
class QWidget;

// The folder and file dialogs and the colour chooser, opened in one place.
//
// Tests give the next result in advance instead of driving the modal dialog: while a
// result is queued no dialog opens, the request is recorded and the result is taken.
// With the queue empty the real dialog opens.
class Choosers
{
public:
    // An empty result means the player cancelled.
    static QString chooseFolder(QWidget* parent, const QString& caption, const QString& start);
    // Makes a folder dialog ask for one folder, opened at start, with hidden folders
    // listed: Steam and Wine keep the game below ~/.steam and ~/.wine. Accepting it
    // without picking anything gives the folder it shows, under Wine too.
    static void setUpFolderDialog(QFileDialog* dialog, const QString& start);
    // A file to read, or one to write offered under `start` (a folder and a name); an
    // empty result means the player cancelled. The save dialog does not ask whether an
    // existing file may be replaced: that is the caller's question.
    static QString chooseOpenFile(QWidget* parent, const QString& caption, const QString& start,
                                  const QString& filter);
    static QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& start,
                                  const QString& filter);
    // An invalid colour means the player cancelled.
    static QColor chooseColor(const QColor& initial, QWidget* parent);

    // For tests only: the results given in advance, and what the last requests asked
    // for. The program itself never queues a result.
    static void setNextFolder(const QString& folder);
    static void setNextFile(const QString& file);
    static void setNextColor(const QColor& color);
    static int pendingResults();
    // What the last folder request asked for and where it opened.
    static QString lastFolderCaption();
    static QString lastFolderStart();
    // Where the last file request opened.
    static QString lastFileStart();
    static QColor lastColorInitial();
    static void clearResults();
};
