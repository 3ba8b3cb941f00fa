// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/NativeFile.h"

#include "platform/SystemError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{

const QString notRegular =
    QStringLiteral("it is not a regular file but a pipe, a device or the like");

// The reasons a path that is no file to read can give before anything opens it: opening
// a pipe waits for a writer, and a device may never end.
bool isFile(const QFileInfo& info, QString* reason)
{
    if (!info.exists())
        *reason = info.isSymLink() ? QStringLiteral("it is a link to nothing")
                                   : QStringLiteral("there is no such file");
    else if (info.isDir())
        *reason = QStringLiteral("it is a folder, not a file");
    else if (!info.isFile())
        *reason = notRegular;
    else
        return true;
    return false;
}

#ifdef Q_OS_WIN
// A sharing violation passes once a virus scanner or the search indexer is done with
// the file; ten tries a tenth of a second apart wait for it, but not for the game.
const int briefTries = 10;
const DWORD briefPause = 100;

bool isBrief(DWORD code)
{
    return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION ||
           code == ERROR_ACCESS_DENIED;
}

// The path as the wide-character calls take it: absolute, in Windows' separators, and
// past MAX_PATH in the \\?\ form, which lifts the limit but also turns off the
// system's own clean-up of the path, so it is cleaned here first.
std::wstring windowsPath(const QString& path)
{
    QString native = QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    if (native.size() >= MAX_PATH && !native.startsWith(QLatin1String("\\\\?\\"))) {
        native = native.startsWith(QLatin1String("\\\\"))
                     ? QLatin1String("\\\\?\\UNC\\") + native.mid(2)
                     : QLatin1String("\\\\?\\") + native;
    }
    return native.toStdWString();
}

QString fromWindowsPath(QString path)
{
    if (path.startsWith(QLatin1String("\\\\?\\UNC\\")))
        path = QLatin1String("\\\\") + path.mid(8);
    else if (path.startsWith(QLatin1String("\\\\?\\")))
        path = path.mid(4);
    return QDir::fromNativeSeparators(path);
}
#else
// Opens without ever waiting, and only what is still a regular file once open: it may
// have been swapped for a pipe since it was looked at.
bool openRegular(const QString& path, int* fd, qint64* size, QString* error)
{
    *fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (*fd < 0)
        return SystemError::fail(error, path, SystemError::fromErrno());
    struct stat status;
    QString reason;
    if (::fstat(*fd, &status) != 0)
        reason = SystemError::fromErrno();
    else if (S_ISDIR(status.st_mode))
        reason = QStringLiteral("it is a folder, not a file");
    else if (!S_ISREG(status.st_mode))
        reason = notRegular;
    else if (::fcntl(*fd, F_SETFL, ::fcntl(*fd, F_GETFL) & ~O_NONBLOCK) != 0)
        reason = SystemError::fromErrno();
    if (reason.isEmpty()) {
        *size = qint64(status.st_size);
        return true;
    }
    ::close(*fd);
    return SystemError::fail(error, path, reason);
}
#endif

} // namespace

bool NativeFile::openForReading(const QString& path, QFile* file, qint64* size, QString* error)
{
    QString reason;
    if (!isFile(QFileInfo(path), &reason))
        return SystemError::fail(error, path, reason);
#ifdef Q_OS_WIN
    // Windows keeps no pipes or devices among a folder's files (they live below \\.\),
    // so looking first is enough.
    file->setFileName(path);
    if (!file->open(QIODevice::ReadOnly))
        return SystemError::fail(error, path, file->errorString());
    *size = file->size();
#else
    int fd = -1;
    if (!openRegular(path, &fd, size, error))
        return false;
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return SystemError::fail(error, path, file->errorString());
    }
#endif
    return true;
}

bool NativeFile::moveOver(const QString& from, const QString& to, QString* error)
{
#ifdef Q_OS_WIN
    const std::wstring source = windowsPath(from);
    const std::wstring target = windowsPath(to);
    for (int attempt = 1;; ++attempt) {
        if (::MoveFileExW(source.c_str(), target.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0)
            return true;
        const DWORD code = ::GetLastError();
        if (attempt == briefTries || !isBrief(code))
            return SystemError::fail(error, SystemError::windowsText(code));
        ::Sleep(briefPause);
    }
#else
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return SystemError::fail(error, SystemError::fromErrno());
    return true;
#endif
}

bool NativeFile::syncToDisk(int fd, QString* error)
{
#ifdef Q_OS_WIN
    const bool synced = ::_commit(fd) == 0;
#else
    const bool synced = ::fsync(fd) == 0;
#endif
    return synced || SystemError::fail(error, SystemError::fromErrno());
}

bool NativeFile::syncFolder(const QString& folder, QString* error)
{
#ifdef Q_OS_WIN
    Q_UNUSED(folder)
    Q_UNUSED(error)
    return true;
#else
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return SystemError::fail(error, SystemError::fromErrno());
    const bool synced = ::fsync(fd) == 0 || SystemError::fail(error, SystemError::fromErrno());
    ::close(fd);
    return synced;
#endif
}

bool NativeFile::realPath(const QString& path, QString* real, QString* error)
{
#ifdef Q_OS_WIN
    const HANDLE handle = ::CreateFileW(
        windowsPath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return SystemError::fail(error, path, SystemError::lastError());
    std::wstring buffer(32768, L'\0');
    const DWORD length = ::GetFinalPathNameByHandleW(handle, &buffer[0], DWORD(buffer.size()),
                                                     FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    const DWORD code = ::GetLastError();
    ::CloseHandle(handle);
    if (length == 0 || length >= buffer.size())
        return SystemError::fail(error, path, SystemError::windowsText(code));
    *real = fromWindowsPath(QString::fromStdWString(buffer.substr(0, length)));
#else
    char* resolved = ::realpath(QFile::encodeName(path).constData(), nullptr);
    if (!resolved) {
        const bool dangling = errno == ENOENT && QFileInfo(path).isSymLink();
        return SystemError::fail(error, path,
                                 dangling ? QStringLiteral("it is a link to nothing")
                                          : SystemError::fromErrno());
    }
    *real = QFile::decodeName(resolved);
    std::free(resolved);
#endif
    return true;
}

QString NativeFile::resolvedPath(const QString& path, QString* error)
{
    QString real;
    return realPath(path, &real, error) ? real : QString();
}

#ifdef Q_OS_WIN
std::wstring NativeFile::widePath(const QString& path)
{
    return windowsPath(path);
}

namespace
{

QByteArray stateOf(HANDLE handle)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (handle == INVALID_HANDLE_VALUE || !::GetFileInformationByHandle(handle, &info))
        return QByteArray();
    const DWORD fields[] = {info.dwVolumeSerialNumber,
                            info.nFileIndexHigh,
                            info.nFileIndexLow,
                            info.nFileSizeHigh,
                            info.nFileSizeLow,
                            info.ftLastWriteTime.dwHighDateTime,
                            info.ftLastWriteTime.dwLowDateTime};
    return QByteArray(reinterpret_cast<const char*>(fields), sizeof fields);
}

} // namespace

bool NativeFile::state(int fd, QByteArray* state, QString* error)
{
    *state = stateOf(reinterpret_cast<HANDLE>(::_get_osfhandle(fd)));
    return !state->isEmpty() || SystemError::fail(error, SystemError::lastError());
}

QByteArray NativeFile::state(const QString& path)
{
    const HANDLE handle = ::CreateFileW(
        windowsPath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    const QByteArray state = stateOf(handle);
    if (handle != INVALID_HANDLE_VALUE)
        ::CloseHandle(handle);
    return state;
}
#else
namespace
{

QByteArray stateOf(const struct stat& status)
{
    const qint64 fields[] = {qint64(status.st_dev),          qint64(status.st_ino),
                             qint64(status.st_size),         qint64(status.st_mtim.tv_sec),
                             qint64(status.st_mtim.tv_nsec), qint64(status.st_ctim.tv_sec),
                             qint64(status.st_ctim.tv_nsec)};
    return QByteArray(reinterpret_cast<const char*>(fields), sizeof fields);
}

} // namespace

bool NativeFile::state(int fd, QByteArray* state, QString* error)
{
    struct stat status;
    if (::fstat(fd, &status) != 0)
        return SystemError::fail(error, SystemError::fromErrno());
    *state = stateOf(status);
    return true;
}

QByteArray NativeFile::state(const QString& path)
{
    struct stat status;
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? stateOf(status)
                                                                     : QByteArray();
}
#endif

bool NativeFile::inUse(const QString& path, Use use)
{
#ifdef Q_OS_WIN
    const std::wstring name = windowsPath(path);
    const DWORD access = use == Use::Reading ? GENERIC_READ : DELETE;
    for (int attempt = 1;; ++attempt) {
        const HANDLE handle = ::CreateFileW(name.c_str(), access,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            ::CloseHandle(handle);
            return false;
        }
        const DWORD code = ::GetLastError();
        if (code != ERROR_SHARING_VIOLATION && code != ERROR_LOCK_VIOLATION)
            return false;
        if (attempt == briefTries)
            return true;
        ::Sleep(briefPause);
    }
#else
    Q_UNUSED(path)
    Q_UNUSED(use)
    return false;
#endif
}

bool NativeFile::processRunning(qint64 pid)
{
    if (pid <= 0 || pid > 0x7fffffff)
        return false;
#ifdef Q_OS_WIN
    const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid));
    if (!process)
        return ::GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool running = ::GetExitCodeProcess(process, &code) != 0 && code == STILL_ACTIVE;
    ::CloseHandle(process);
    return running;
#else
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
#endif
}
