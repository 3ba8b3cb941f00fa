// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh temporary folder that is the working folder for as long as the fixture lives,
// where the program looks for its preferences and companions. The previous working
// folder comes back before the temporary one is removed.
class WorkFolder
{
public:
    WorkFolder();
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    // Whether the folder was made and entered.
    bool isValid() const;
    QString path(const QString& name = QString()) const;

private:
    QTemporaryDir dir;
    QString previous;
    bool entered = false;
};
