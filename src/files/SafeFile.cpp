// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/SafeFile.h"

#include "platform/NativeFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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

// Temporary files of a save that died before it finished: never data, so they are
// cleared away instead of piling up beside the game's file, but only once they are
// too old to belong to a save that is still running (see the header).
void removeStaleTemporaries(const QString& target)
{
    const QFileInfo info(target);
    QDir folder = info.absoluteDir();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QFileInfoList candidates =
        folder.entryInfoList({info.fileName() + QLatin1String(".tintwell-??????.tmp")},
                             QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& candidate : candidates) {
        if (candidate.lastModified().toUTC().secsTo(now) > SafeFile::staleAge)
            folder.remove(candidate.fileName());
    }
}

bool failRead(QString* error, const QString& path, const QString& reason)
{
    if (error)
        *error = path + QLatin1String(": ") + reason;
    return false;
}

// Why a path that exists is no file to read, judged before anything opens it: opening
// a pipe waits for a writer, and a device may never end.
QString notAFile(const QFileInfo& info)
{
    if (!info.exists())
        return info.isSymLink() ? QStringLiteral("is a link to nothing")
                                : QStringLiteral("no such file");
    if (info.isDir())
        return QStringLiteral("is a folder");
    if (!info.isFile())
        return QStringLiteral("is not a regular file (a pipe, device or socket)");
    return QString();
}

QString tooLarge(qint64 maxSize)
{
    return QStringLiteral("larger than %1 bytes").arg(maxSize);
}

#ifndef Q_OS_WIN
// Opens the file without ever waiting, and only if it is still a regular file once
// open: it may have been swapped for a pipe since it was looked at. Returns the
// descriptor, or -1 with the reason.
int openRegularFile(const QString& path, qint64 maxSize, QString* reason)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        *reason = QString::fromLocal8Bit(std::strerror(errno));
        return -1;
    }
    struct stat status;
    if (::fstat(fd, &status) != 0)
        *reason = QString::fromLocal8Bit(std::strerror(errno));
    else if (S_ISDIR(status.st_mode))
        *reason = QStringLiteral("is a folder");
    else if (!S_ISREG(status.st_mode))
        *reason = QStringLiteral("is not a regular file (a pipe, device or socket)");
    else if (maxSize >= 0 && status.st_size > maxSize)
        *reason = tooLarge(maxSize);
    else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        *reason = QString::fromLocal8Bit(std::strerror(errno));
    if (reason->isEmpty())
        return fd;
    ::close(fd);
    return -1;
}
#endif

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

SafeFile::SafeFile(const QString& target, Links links) : target(target), links(links), path(target)
{
}

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
        file->setFileName(path + QLatin1String(".tintwell-") + randomTag() + QLatin1String(".tmp"));
        if (file->open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return true;
        if (!QFileInfo::exists(file->fileName()))
            return false;
    }
    return false;
}

// The player may keep the game's file elsewhere and link to it; the content is
// replaced where the links lead, and the links stay as they are.
bool SafeFile::resolveTarget()
{
    path = target;
    if (links == Links::Replace)
        return true;
    for (int hop = 0; hop < 40; ++hop) {
        const QFileInfo info(path);
        if (!info.isSymLink())
            return true;
        const QString next = info.symLinkTarget();
        if (next.isEmpty())
            return true;
        path = next;
    }
    return fail(target, QStringLiteral("too many levels of links"));
}

bool SafeFile::write(const QByteArray& data)
{
    discard();
    if (!resolveTarget())
        return false;
    const QFileInfo info(path);
    if (info.isDir())
        return fail(path, QStringLiteral("is a folder"));
    // A link that is itself replaced says nothing about the file it leads to.
    if (!info.isSymLink()) {
        const QString protection = writeProtection(path);
        if (!protection.isEmpty())
            return fail(path, protection);
    }
    removeStaleTemporaries(path);
    QFile file;
    if (!createTemp(&file))
        return fail(path, file.errorString());
    tempName = file.fileName();
    QString reason = writeSynced(&file, data);
    // Closed before anything else happens to it: an open file can be neither
    // removed nor renamed on Windows.
    file.close();
    if (reason.isEmpty() && file.error() != QFile::NoError)
        reason = file.errorString();
    if (!reason.isEmpty())
        return fail(tempName, reason);
    if (info.exists() && !info.isSymLink())
        QFile::setPermissions(tempName, modeOf(info));
    written = true;
    return true;
}

bool SafeFile::commit()
{
    if (!written)
        return fail(target, QStringLiteral("nothing was written"));
    QString reason;
    if (!NativeFile::moveOver(tempName, path, &reason)) {
        // Named as what failed: the target itself is untouched by a failed rename.
        return fail(path, QStringLiteral("the new content could not be put in place from %1 (%2); "
                                         "the file itself is unchanged")
                              .arg(QFileInfo(tempName).fileName(), reason));
    }
    tempName.clear();
    written = false;
    NativeFile::syncFolder(QFileInfo(path).absolutePath());
    return true;
}

QString SafeFile::errorString() const
{
    return error;
}

QString SafeFile::destination() const
{
    return path;
}

QString SafeFile::writeProtection(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return QString();
    // The file's own protection first: on Windows it is the read-only attribute, which
    // also makes the file unwritable to this process.
    const QFile::Permissions anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (!(modeOf(info) & anyWrite))
        return QStringLiteral("the file is write-protected (read-only)");
    if (!info.isWritable())
        return QStringLiteral("you may not write to this file");
    return QString();
}

bool SafeFile::replace(const QString& target, const QByteArray& data, QString* error, Links links)
{
    SafeFile file(target, links);
    const bool ok = file.write(data) && file.commit();
    if (!ok && error)
        *error = file.errorString();
    return ok;
}

bool SafeFile::readAll(const QString& path, QByteArray* data, QString* error, qint64 maxSize)
{
    const QFileInfo info(path);
    QString reason = notAFile(info);
    if (!reason.isEmpty())
        return failRead(error, path, reason);
    if (maxSize >= 0 && info.size() > maxSize)
        return failRead(error, path, tooLarge(maxSize));
    QFile file;
#ifdef Q_OS_WIN
    // Windows keeps no pipes or devices among a folder's files (they live below \\.\),
    // so looking first is enough.
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return failRead(error, path, file.errorString());
#else
    const int fd = openRegularFile(path, maxSize, &reason);
    if (fd < 0)
        return failRead(error, path, reason);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return failRead(error, path, file.errorString());
    }
#endif
    // One byte more than allowed tells a file that grew since it was looked at.
    *data = maxSize >= 0 ? file.read(maxSize + 1) : file.readAll();
    if (file.error() != QFile::NoError)
        return failRead(error, path, file.errorString());
    if (maxSize >= 0 && data->size() > maxSize) {
        data->clear();
        return failRead(error, path, tooLarge(maxSize));
    }
    return true;
}

bool SafeFile::copy(const QString& source, const QString& target, QString* error)
{
    QByteArray data;
    return readAll(source, &data, error) && replace(target, data, error);
}
