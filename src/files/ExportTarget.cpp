// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ExportTarget.h"

#include "files/ColorFolder.h"
#include "files/FileError.h"
#include "platform/FileIdentity.h"
#include "platform/NativeFile.h"

#include <QDir>
#include <QFileInfo>

namespace
{

bool isPlainName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
#ifdef Q_OS_WIN
    // "TextColors.xml.orig::$DATA" is the file itself to Windows, and any other stream
    // after a colon lives inside an existing file.
    if (name.contains(QLatin1Char(':')))
        return false;
#endif
    return true;
}

QString refuse(QString* error, const QString& reason)
{
    FileError::fail(error, reason);
    return QString();
}

} // namespace

QString ExportTarget::check(const QString& chosen, const QList<ColorFolder>& gameFolders,
                            const QString& bundledFile, QString* error)
{
    const QString shown = QDir::toNativeSeparators(chosen);
    QString folder;
    QString name;
    FileIdentity::split(chosen, &folder, &name);
    if (!isPlainName(name))
        return refuse(error, QStringLiteral("%1 is no file name to write to").arg(shown));
    QString reason;
    const QString realFolder = NativeFile::resolvedPath(folder, &reason);
    if (realFolder.isEmpty() || FileIdentity(realFolder).kind() != FileIdentity::Kind::Folder)
        return refuse(
            error, QStringLiteral("the folder of %1 cannot be written to: %2")
                       .arg(shown, reason.isEmpty() ? QStringLiteral("it is no folder") : reason));
    for (const ColorFolder& game : gameFolders) {
        if (game.holds(chosen))
            return refuse(error, QStringLiteral("%1 is one of the game's own color files. "
                                                "Export writes a copy to share; use Save to "
                                                "write the game's colors")
                                     .arg(shown));
    }
    if (FileIdentity::sameEntry(chosen, bundledFile))
        return refuse(error, QStringLiteral("%1 is Tintwell's bundled copy of the game's "
                                            "colors, which \"Restore original data from "
                                            "bundled file\" reads")
                                 .arg(shown));
    const QFileInfo entry(chosen);
    const FileIdentity existing(chosen);
    if (entry.isSymLink() && !existing.exists())
        return refuse(error, QStringLiteral("%1 is a link to nothing").arg(shown));
    if (existing.exists() && existing.kind() != FileIdentity::Kind::File)
        return refuse(error, QStringLiteral("%1 is not a regular file but a folder, a pipe, "
                                            "a device or the like")
                                 .arg(shown));
    return realFolder.endsWith(QLatin1Char('/')) ? realFolder + name
                                                 : realFolder + QLatin1Char('/') + name;
}
