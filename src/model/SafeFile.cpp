// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/SafeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool syncToDisk(int fd)
{
#ifdef Q_OS_WIN
    return ::_commit(fd) == 0;
#else
    return ::fsync(fd) == 0;
#endif
}

// The one step that makes the new content visible: atomic on the file systems the
// game is installed on, and never leaves the target missing.
bool renameOver(const QString& from, const QString& to)
{
#ifdef Q_OS_WIN
    return ::MoveFileExW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(from).utf16()),
                         reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(to).utf16()),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

// Makes the rename itself durable; a failure here loses nothing, so it is not reported.
void syncFolder(const QString& folder)
{
#ifndef Q_OS_WIN
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(folder)
#endif
}

} // namespace

SafeFile::SafeFile(const QString& target) : target(target) {}

SafeFile::~SafeFile() = default;

bool SafeFile::fail(const QString& what, const QString& reason)
{
    error = what + QLatin1String(": ") + reason;
    temp.reset();
    return false;
}

bool SafeFile::write(const QByteArray& data)
{
    const QFileInfo info(target);
    if (info.isDir())
        return fail(target, QStringLiteral("is a folder"));
    temp = std::make_unique<QTemporaryFile>(target + QLatin1String(".tintwell-XXXXXX.tmp"));
    if (!temp->open())
        return fail(target, temp->errorString());
    if (temp->write(data) != data.size() || !temp->flush())
        return fail(temp->fileName(), temp->errorString());
    if (!syncToDisk(temp->handle()))
        return fail(temp->fileName(), systemError());
    if (info.exists())
        temp->setPermissions(info.permissions());
    else
        temp->setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                             QFile::ReadOther);
    temp->close();
    if (temp->error() != QFile::NoError)
        return fail(temp->fileName(), temp->errorString());
    written = true;
    return true;
}

bool SafeFile::commit()
{
    if (!written || !temp)
        return fail(target, QStringLiteral("nothing was written"));
    if (!renameOver(temp->fileName(), target))
        return fail(target, systemError());
    temp->setAutoRemove(false);
    temp.reset();
    written = false;
    syncFolder(QFileInfo(target).absolutePath());
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
