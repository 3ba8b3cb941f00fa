// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh temporary folder that is the working folder for as long as the fixture lives,
// where the program looks for its preferences and companions; or, where a test needs
// room beside it, a folder made inside the temporary one. The previous working folder
// comes back before the temporary one is removed.
class WorkFolder
{
public:
    explicit WorkFolder(const QString& inside = QString());
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    // Whether the folder was made and entered.
    bool isValid() const;
    // A path in the temporary folder.
    QString path(const QString& name = QString()) const;
    // A path in the working folder.
    QString work(const QString& name = QString()) const;

private:
    QTemporaryDir dir;
    QString previous;
    QString inside;
    bool entered = false;
};
