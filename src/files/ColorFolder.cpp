// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ColorFolder.h"

#include "files/FileError.h"
#include "platform/FileIdentity.h"
#include "platform/NativeFile.h"

#include <QFileInfo>

namespace
{

bool samePath(const QString& a, const QString& b)
{
#ifdef Q_OS_WIN
    return a.compare(b, Qt::CaseInsensitive) == 0;
#else
    return a == b;
#endif
}

// Whether `real` is the file `path` names: the entry itself, which a save replaces as
// it is, or where it leads when it is a link too.
bool leadsTo(const QString& real, const QString& path)
{
    QString folder;
    QString entryTarget;
    if (NativeFile::realPath(QFileInfo(path).absolutePath(), &folder) &&
        samePath(real, folder + QLatin1Char('/') + QFileInfo(path).fileName()))
        return true;
    return NativeFile::realPath(path, &entryTarget) && samePath(real, entryTarget);
}

const QLatin1String suffix("/cd_image/gui/default/");
const QLatin1String colorFileName("TextColors.xml");

} // namespace

ColorFolder::ColorFolder(const QString& aoPath) : install(aoPath), dir(aoPath + suffix) {}

ColorFolder ColorFolder::resolved(const QString& aoPath, QString* error)
{
    ColorFolder folder(aoPath);
    if (aoPath.isEmpty()) {
        FileError::fail(error, QStringLiteral("no install folder is chosen"));
        return folder;
    }
    const QString real = NativeFile::resolvedPath(folder.dir, error);
    if (real.isEmpty())
        return folder;
    if (FileIdentity(real).kind() != FileIdentity::Kind::Folder) {
        FileError::fail(error, folder.dir, QStringLiteral("it is not a folder"));
        return folder;
    }
    folder.dir = real.endsWith(QLatin1Char('/')) ? real : real + QLatin1Char('/');
    folder.real = true;
    return folder;
}

bool ColorFolder::isResolved() const
{
    return real;
}

QString ColorFolder::installPath() const
{
    return install;
}

bool ColorFolder::isFolderOf(const QString& aoPath) const
{
    const FileIdentity here(dir);
    return here.kind() == FileIdentity::Kind::Folder && here == FileIdentity(aoPath + suffix);
}

QString ColorFolder::path() const
{
    return dir;
}

QString ColorFolder::colorFile() const
{
    return dir + colorFileName;
}

QString ColorFolder::backupFile() const
{
    return colorFile() + QLatin1String(".bak");
}

QString ColorFolder::originalFile() const
{
    return colorFile() + QLatin1String(".orig");
}

bool ColorFolder::hasColorFile() const
{
    return QFileInfo::exists(colorFile());
}

bool ColorFolder::checkColorFileLink(QString* error) const
{
    QString real;
    if (!QFileInfo(colorFile()).isSymLink() || !NativeFile::realPath(colorFile(), &real))
        return true;
    const struct {
        QString file;
        const char* what;
    } kept[] = {{backupFile(), "the backup of the last save"},
                {originalFile(), "the copy of the game's own colors"}};
    for (const auto& keeper : kept) {
        if (leadsTo(real, keeper.file))
            return FileError::fail(
                error, colorFile(),
                QStringLiteral("it is a link to %1, %2, which saving through "
                               "the link would overwrite. Make "
                               "TextColors.xml a file of its own.")
                    .arg(QFileInfo(keeper.file).fileName(), QLatin1String(keeper.what)));
    }
    return true;
}

bool ColorFolder::holds(const QString& file) const
{
    if (dir.isEmpty())
        return false;
    // By identity first, so a link to one of them counts too: replacing the link
    // would spare the file, but a program that follows links would write it.
    for (const QString& own : {colorFile(), backupFile(), originalFile()}) {
        if (FileIdentity::sameEntry(file, own))
            return true;
    }
    return false;
}
