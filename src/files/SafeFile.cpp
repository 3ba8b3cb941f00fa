// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/SafeFile.h"

#include "files/FileError.h"
#include "platform/NativeFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

namespace
{

// Qt's readAll() gives an empty array without an error from 2 GiB on, and one read of
// the whole size would hold the window until the last byte came from a slow drive.
const qint64 readPiece = 1024 * 1024;

// The file's own mode bits. QFileInfo's "User" bits describe what this process may
// do, which for root is everything, and would make a read-only file writable.
QFile::Permissions modeOf(const QFileInfo& info)
{
    const QFile::Permissions mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                    QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                    QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    return info.permissions() & mode;
}

// Temporary files of a save or export that died before it finished: never data, so
// they are cleared away instead of piling up beside the player's files. Each names the
// process that wrote it; once that process is gone, so is any use of the file, and it
// goes at the next save or export into the folder, whatever file it was for. Those of
// older versions, which name no process, go once they are too old to belong to a save
// that is still running (see the header).
void removeStaleTemporaries(const QString& target)
{
    static const QRegularExpression ofProcess(
        QStringLiteral("\\.tintwell-([0-9]+)-[a-z0-9]{6}\\.tmp$"));
    const QFileInfo info(target);
    QDir folder = info.absoluteDir();
    const QString own = info.fileName() + QLatin1String(".tintwell-");
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QFileInfoList candidates = folder.entryInfoList(
        {QStringLiteral("*.tintwell-*.tmp")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& candidate : candidates) {
        const QRegularExpressionMatch match = ofProcess.match(candidate.fileName());
        const bool orphaned =
            match.hasMatch() && !NativeFile::processRunning(match.captured(1).toLongLong());
        const bool stale = candidate.fileName().startsWith(own) &&
                           candidate.lastModified().toUTC().secsTo(now) > SafeFile::staleAge;
        if (orphaned || stale)
            folder.remove(candidate.fileName());
    }
}

QString tooLarge(qint64 maxSize)
{
    return QStringLiteral("it is larger than %1 bytes").arg(maxSize);
}

// False, with the reason, unless every byte reached the disk. A short write is
// retried, so that a full disk reports itself instead of an unknown error.
bool writeSynced(QFile* file, const QByteArray& data, QString* reason)
{
    for (qint64 done = 0; done < data.size();) {
        const qint64 written = file->write(data.constData() + done, data.size() - done);
        if (written <= 0)
            return FileError::fail(reason, file->errorString());
        done += written;
    }
    if (!file->flush())
        return FileError::fail(reason, file->errorString());
    return NativeFile::syncToDisk(file->handle(), reason);
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

bool SafeFile::fail(QString* error, const QString& what, const QString& reason)
{
    // `what` may be the temporary's name, which discard() clears.
    const QString file = what;
    discard();
    return FileError::fail(error, file, reason);
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
        file->setFileName(path + QLatin1String(".tintwell-") +
                          QString::number(QCoreApplication::applicationPid()) + QLatin1Char('-') +
                          randomTag() + QLatin1String(".tmp"));
        if (file->open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return true;
        if (!QFileInfo::exists(file->fileName()))
            return false;
    }
    return false;
}

// The player may keep the game's file elsewhere and link to it; the content is
// replaced where the system's own resolution of the links leads, and the links stay.
bool SafeFile::resolveTarget(QString* error)
{
    path = target;
    if (links == Links::Replace || !QFileInfo(target).isSymLink())
        return true;
    return NativeFile::realPath(target, &path, error);
}

void SafeFile::takePermissionsFrom(const QString& file)
{
    modeSource = file;
}

bool SafeFile::write(const QByteArray& data, QString* error)
{
    discard();
    if (!resolveTarget(error))
        return false;
    const QFileInfo info(path);
    if (info.isDir())
        return fail(error, path, QStringLiteral("it is a folder, not a file"));
    // A link that is itself replaced says nothing about the file it leads to.
    if (!info.isSymLink()) {
        QString protection;
        if (!mayReplace(path, &protection))
            return fail(error, path, protection);
    }
    removeStaleTemporaries(path);
    QFile file;
    if (!createTemp(&file))
        return fail(error, path, file.errorString());
    tempName = file.fileName();
    QString reason;
    bool whole = writeSynced(&file, data, &reason);
    // Closed before anything else happens to it: an open file can be neither
    // removed nor renamed on Windows.
    file.close();
    if (whole && file.error() != QFile::NoError)
        whole = FileError::fail(&reason, file.errorString());
    if (!whole)
        return fail(error, path, reason);
    const QFileInfo mode(modeSource.isEmpty() ? path : modeSource);
    if (mode.exists() && (!modeSource.isEmpty() || !mode.isSymLink()))
        QFile::setPermissions(tempName, modeOf(mode));
    written = true;
    return true;
}

bool SafeFile::putInPlace(QString* error)
{
    if (!written)
        return fail(error, target, QStringLiteral("nothing was written"));
    QString reason;
    if (!NativeFile::moveOver(tempName, path, &reason)) {
        // Named as what failed: the target itself is untouched by a failed rename.
        return fail(error, path,
                    QStringLiteral("the new content could not be put in place from %1 (%2); "
                                   "the file itself is unchanged")
                        .arg(QFileInfo(tempName).fileName(), reason));
    }
    tempName.clear();
    written = false;
    return true;
}

bool SafeFile::syncFolder(QString* error) const
{
    QString reason;
    if (NativeFile::syncFolder(QFileInfo(path).absolutePath(), &reason))
        return true;
    return FileError::fail(
        error, path,
        QStringLiteral("saved, but the system could not confirm it is on disk (%1)").arg(reason));
}

QString SafeFile::destination() const
{
    return path;
}

bool SafeFile::mayReplace(const QString& path, QString* error)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return true;
    // The file's own protection first: on Windows it is the read-only attribute, which
    // also makes the file unwritable to this process.
    const QFile::Permissions anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (!(modeOf(info) & anyWrite))
        return FileError::fail(error, QStringLiteral("the file is write-protected (read-only)"));
    if (!info.isWritable())
        return FileError::fail(error, QStringLiteral("you may not write to this file"));
    return true;
}

void SafeFile::removeLeftovers(const QString& target)
{
    removeStaleTemporaries(target);
}

bool SafeFile::replace(const QString& target, const QByteArray& data, QString* error, Links links,
                       bool* inPlace)
{
    SafeFile file(target, links);
    const bool renamed = file.write(data, error) && file.putInPlace(error);
    if (inPlace)
        *inPlace = renamed;
    return renamed && file.syncFolder(error);
}

namespace
{

// One read of the whole file; `opened` receives its state once it was open.
bool readOnce(const QString& path, qint64 maxSize, QByteArray* data, QByteArray* opened,
              QString* error)
{
    QFile file;
    qint64 size = 0;
    if (!NativeFile::openForReading(path, &file, &size, error))
        return false;
    QString reason;
    if (!NativeFile::state(file.handle(), opened, &reason))
        return FileError::fail(error, path, reason);
    if (size > maxSize)
        return FileError::fail(error, path, tooLarge(maxSize));
    // Room for what the file held when it was opened; a file that grows since gets
    // more, up to one byte past the limit, which tells it is too large.
    QByteArray bytes(int(size), Qt::Uninitialized);
    qint64 done = 0;
    for (;;) {
        if (done == bytes.size())
            bytes.resize(int(qMin(done + readPiece, maxSize + 1)));
        const qint64 got = file.read(bytes.data() + done, qMin(readPiece, bytes.size() - done));
        if (got < 0)
            return FileError::fail(error, path, file.errorString());
        if (got == 0)
            break;
        done += got;
        if (done > maxSize)
            return FileError::fail(error, path, tooLarge(maxSize));
    }
    if (done < size)
        return FileError::fail(error, path,
                               QStringLiteral("it became shorter while it was read (%1 of "
                                              "%2 bytes)")
                                   .arg(done)
                                   .arg(size));
    bytes.resize(int(done));
    *data = bytes;
    return true;
}

} // namespace

// Another program may write or replace the file while it is read; then it is read
// again, so that the bytes are always the file as it was at one moment.
bool SafeFile::readAll(const QString& path, qint64 maxSize, QByteArray* data, QString* error)
{
    Q_ASSERT(maxSize >= 0 && maxSize <= largestRead);
    for (int attempt = 1;; ++attempt) {
        QByteArray opened;
        if (!readOnce(path, maxSize, data, &opened, error))
            return false;
        if (opened == NativeFile::state(path))
            return true;
        if (attempt == 3)
            return FileError::fail(error, path,
                                   QStringLiteral("another program kept changing it while it "
                                                  "was read"));
    }
}

bool SafeFile::copy(const QString& source, const QString& target, qint64 maxSize, QString* error)
{
    QByteArray data;
    return readAll(source, maxSize, &data, error) && replace(target, data, error);
}
