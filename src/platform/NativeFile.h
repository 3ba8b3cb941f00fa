// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The few file operations Qt has no call for: putting a finished file in place of
// another in one step, and pushing a file's bytes and a folder's entries to the disk.
// Each returns false with the system's reason when the system refuses.
class NativeFile
{
public:
    // Replaces `to` by `from` atomically: MoveFileExW with write-through on Windows,
    // rename() elsewhere. QFile::rename() is no help: it refuses an existing target.
    static bool moveOver(const QString& from, const QString& to, QString* reason = nullptr);
    // Waits until the bytes written through the descriptor are on the disk.
    static bool syncToDisk(int fd, QString* reason = nullptr);
    // Makes a rename in the folder durable; Windows does that with the move itself.
    static void syncFolder(const QString& folder);
};
