// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/SafeFile.h"

#include "platform/NativeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace
{

// The file's own mode bits. QFileInfo's "User" bits describe what this process may
// do, which for root is everything, and would make a read-only file writable.
QFile::Permissions modeOf(const QFileInfo& info)
{
    const QFile::Permissions mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                    QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                    QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    return info.permissions() & mode;
}

// Temporary files of a save that was killed before it finished: never data, so they
// are cleared away instead of piling up beside the game's file.
void removeStaleTemporaries(const QString& target)
{
    const QFileInfo info(target);
    QDir folder = info.absoluteDir();
    const QStringList stale =
        folder.entryList({info.fileName() + QLatin1String(".tintwell-??????.tmp")},
                         QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : stale)
        folder.remove(name);
}

// Empty when every byte reached the disk, otherwise the reason. A short write is
// retried, so that a full disk reports itself instead of an unknown error.
QString writeSynced(QFile* file, const QByteArray& data)
{
    for (qint64 done = 0; done < data.size();) {
        const qint64 written = file->write(data.constData() + done, data.size() - done);
        if (written <= 0)
            return file->errorString();
        done += written;
    }
    if (!file->flush())
        return file->errorString();
    QString reason;
    NativeFile::syncToDisk(file->handle(), &reason);
    return reason;
}

QString randomTag()
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QString tag;
    for (int i = 0; i < 6; ++i)
        tag += QLatin1Char(letters[QRandomGenerator::global()->bounded(36)]);
    return tag;
}

} // namespace

SafeFile::SafeFile(const QString& target) : target(target) {}

SafeFile::~SafeFile()
{
    discard();
}

bool SafeFile::fail(const QString& what, const QString& reason)
{
    error = what + QLatin1String(": ") + reason;
    discard();
    return false;
}

void SafeFile::discard()
{
    if (!tempName.isEmpty()) {
        // Windows removes no read-only file.
        QFile::setPermissions(tempName, QFile::ReadOwner | QFile::WriteOwner);
        QFile::remove(tempName);
    }
    tempName.clear();
    written = false;
}

// A fresh name beside the target, created exclusively so that no existing file or
// link is ever opened. QTemporaryFile is not used: it keeps its handle open after
// close(), and Windows refuses to move a file that is still open.
bool SafeFile::createTemp(QFile* file)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        file->setFileName(target + QLatin1String(".tintwell-") + randomTag() +
                          QLatin1String(".tmp"));
        if (file->open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return true;
        if (!QFileInfo::exists(file->fileName()))
            return false;
    }
    return false;
}

bool SafeFile::write(const QByteArray& data)
{
    discard();
    const QFileInfo info(target);
    if (info.isDir())
        return fail(target, QStringLiteral("is a folder"));
    removeStaleTemporaries(target);
    QFile file;
    if (!createTemp(&file))
        return fail(target, file.errorString());
    tempName = file.fileName();
    QString reason = writeSynced(&file, data);
    // Closed before anything else happens to it: an open file can be neither
    // removed nor renamed on Windows.
    file.close();
    if (reason.isEmpty() && file.error() != QFile::NoError)
        reason = file.errorString();
    if (!reason.isEmpty())
        return fail(tempName, reason);
    if (info.exists())
        QFile::setPermissions(tempName, modeOf(info));
    written = true;
    return true;
}

bool SafeFile::commit()
{
    if (!written)
        return fail(target, QStringLiteral("nothing was written"));
    QString reason;
    if (!NativeFile::moveOver(tempName, target, &reason))
        return fail(target, reason);
    tempName.clear();
    written = false;
    NativeFile::syncFolder(QFileInfo(target).absolutePath());
    return true;
}

QString SafeFile::errorString() const
{
    return error;
}

bool SafeFile::replace(const QString& target, const QByteArray& data, QString* error)
{
    SafeFile file(target);
    const bool ok = file.write(data) && file.commit();
    if (!ok && error)
        *error = file.errorString();
    return ok;
}

bool SafeFile::readAll(const QString& path, QByteArray* data, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = path + QLatin1String(": ") + file.errorString();
        return false;
    }
    *data = file.readAll();
    if (file.error() != QFile::NoError) {
        if (error)
            *error = path + QLatin1String(": ") + file.errorString();
        return false;
    }
    return true;
}

bool SafeFile::copy(const QString& source, const QString& target, QString* error)
{
    QByteArray data;
    return readAll(source, &data, error) && replace(target, data, error);
}
