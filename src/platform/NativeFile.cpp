// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/NativeFile.h"

#include "platform/SystemError.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace
{

bool failWith(QString* reason, const QString& text)
{
    if (reason)
        *reason = text;
    return false;
}

#ifdef Q_OS_WIN
const wchar_t* wide(const QString& path)
{
    return reinterpret_cast<const wchar_t*>(path.utf16());
}
#endif

} // namespace

bool NativeFile::moveOver(const QString& from, const QString& to, QString* reason)
{
#ifdef Q_OS_WIN
    const QString source = QDir::toNativeSeparators(from);
    const QString target = QDir::toNativeSeparators(to);
    if (::MoveFileExW(wide(source), wide(target),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0)
        return failWith(reason, SystemError::lastError());
#else
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return failWith(reason, SystemError::fromErrno());
#endif
    return true;
}

bool NativeFile::syncToDisk(int fd, QString* reason)
{
#ifdef Q_OS_WIN
    const bool synced = ::_commit(fd) == 0;
#else
    const bool synced = ::fsync(fd) == 0;
#endif
    return synced || failWith(reason, SystemError::fromErrno());
}

void NativeFile::syncFolder(const QString& folder)
{
#ifdef Q_OS_WIN
    Q_UNUSED(folder)
#else
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}
