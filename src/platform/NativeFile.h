// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <string>

class QFile;

// The file operations Qt has no call for, and the system calls behind them: opening a
// file without waiting on a pipe or device, putting a finished file in place of another
// in one step, pushing bytes and a folder's entries to the disk, following links the
// way the system does, and asking Windows whether another program holds a file. Each
// returns false with the reason when the system refuses (see SystemError).
class NativeFile
{
public:
    // What another program may keep this process from doing to a file it holds open.
    enum class Use { Reading, Replacing };

    // Opens a regular file for reading and gives its size as seen once it is open.
    // Anything else (a folder, a pipe, a device, a socket) is refused without waiting
    // on it, also when it was swapped in just before the open.
    static bool openForReading(const QString& path, QFile* file, qint64* size,
                               QString* error = nullptr);
    // Replaces `to` by `from` atomically: MoveFileExW with write-through on Windows,
    // rename() elsewhere. QFile::rename() is no help: it refuses an existing target.
    // Windows refuses while a virus scanner or the search indexer has a look at either
    // file; the move is tried again for about a second before it counts as failed.
    static bool moveOver(const QString& from, const QString& to, QString* error = nullptr);
    // Waits until the bytes written through the descriptor are on the disk.
    static bool syncToDisk(int fd, QString* error = nullptr);
    // Makes a rename in the folder durable; Windows does that with the move itself.
    static bool syncFolder(const QString& folder, QString* error = nullptr);
    // The file the path leads to, with every link followed by the system itself:
    // QFileInfo::symLinkTarget() works a link's "../" out from the link's path as text,
    // which leads elsewhere when a folder on the way is a link itself.
    static bool realPath(const QString& path, QString* real, QString* error = nullptr);
    // The same as a value: the absolute path of an existing file or folder as the system
    // resolves it (on Windows without the \\?\ of ordinary drive paths, in Qt's
    // separators), or empty with the reason.
    static QString resolvedPath(const QString& path, QString* error = nullptr);
#ifdef Q_OS_WIN
    // The path as the wide-character calls take it, long paths included.
    static std::wstring widePath(const QString& path);
#endif
    // What tells one state of a file from the next: the file's identity, size and times
    // of change, through an open descriptor or through the path, which shows a file that
    // was replaced since. An open file always has one: false, with the reason, when the
    // system cannot say. Through the path it is empty when there is no file to say it of.
    static bool state(int fd, QByteArray* state, QString* error = nullptr);
    static QByteArray state(const QString& path);
    // Windows: whether another program (the running game) holds the file open without
    // sharing that use, after trying for about a second, which is all a scanner takes.
    // Elsewhere files are never held that way: always false.
    static bool inUse(const QString& path, Use use);
    // Whether a process with this id runs on this computer (or one this user may not
    // look at, which counts as running).
    static bool processRunning(qint64 pid);
};
