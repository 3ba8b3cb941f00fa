// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/FolderAccess.h"

#include "dialogs/Messages.h"
#include "platform/Elevation.h"
#include "platform/NativeFile.h"
#include "platform/WriteProbe.h"

#include <QDir>
#include <QFileInfo>

namespace
{
bool writable(const QString& folder)
{
    return !QFileInfo(folder).isDir() || WriteProbe::canCreateIn(folder);
}

QString refusal(const QString& folder)
{
#ifdef Q_OS_WIN
    return QStringLiteral("Windows does not let Tintwell change files in\n%1")
        .arg(QDir::toNativeSeparators(folder));
#else
    return QStringLiteral("The system does not let Tintwell change files in\n%1")
        .arg(QDir::toNativeSeparators(folder));
#endif
}

QString remedy()
{
#ifdef Q_OS_WIN
    return QStringLiteral("Start Tintwell as administrator (right-click it, then \"Run as "
                          "administrator\"), or move the game out of Program Files.");
#else
    return QStringLiteral("Give your user the right to write to that folder, or choose "
                          "another install of the game.");
#endif
}
} // namespace

QString FolderAccess::advice(const QString& folder)
{
    if (writable(folder))
        return QString();
    return QStringLiteral("\n\n%1\n\n%2").arg(refusal(folder), remedy());
}

bool FolderAccess::checkAtLoad(QWidget* parent, const QString& folder,
                               const std::function<void()>& beforeRestart, const Restart& restart)
{
    if (writable(folder))
        return false;
    const QString text = QStringLiteral("%1\n\nYou can look at the colors, but Save, the restores "
                                        "and the backups cannot work there. %2")
                             .arg(refusal(folder), remedy());
    if (!restart) {
        Messages::warn(parent, text);
        return false;
    }
    if (!Messages::askYesNo(parent, text + QStringLiteral("\n\nStart Tintwell again as "
                                                          "administrator now?")))
        return false;
    beforeRestart();
    QString error;
    if (restart(&error))
        return true;
    Messages::warn(
        parent,
        QStringLiteral("Tintwell could not start again as administrator.\n\n%1").arg(error));
    return false;
}

// On Windows the running game may hold its file so that nothing else reads it.
void FolderAccess::warnIfInUse(QWidget* parent, const QString& file)
{
    if (!NativeFile::inUse(file, NativeFile::Use::Reading))
        return;
    Messages::warn(parent, QStringLiteral("Tintwell cannot read the chat colors from\n%1\n\n"
                                          "Another program has the file open, probably the "
                                          "game. Please close the game, then choose \"Reload "
                                          "Chat color data\" on the Settings tab.")
                               .arg(QDir::toNativeSeparators(file)));
}

FolderAccess::Restart FolderAccess::administratorRestart()
{
    if (!Elevation::possible())
        return Restart();
    return [](QString* error) { return Elevation::restartAsAdministrator(error); };
}
