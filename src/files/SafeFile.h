// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

class QFile;

// Replaces a file so that at every instant it holds either its previous complete
// content or the new complete content. The new bytes go to a temporary file in the
// same folder, are flushed, synced to disk and closed, and only then renamed over
// the target in one step. A SafeFile that is not committed leaves no trace.
//
// Not QSaveFile: that one ignores a failed sync to disk, and has no moment between the
// finished temporary file and the rename, where the colour file's save makes its last
// check and puts its backup in place.
//
// A file that is write-protected (no write permission for this user, or no write bit
// at all, which even an administrator's own tools such as rm treat as "keep this")
// is never replaced.
//
// Temporary files left by a save that died are cleared at the next write into their
// folder. Each names the process that writes it; one whose process is gone belongs to
// nobody and goes. Those that name a running process, or none (older versions), go only
// once they are older than `staleAge`: a live save writes and renames its temporaries
// within seconds, so none of its files is ever that old, while any other rule (clearing
// every temporary, or a lock file beside the game's files) would either break another
// running Tintwell's save or leave a lock file behind whenever a save is killed. The
// age is generous because folders on other machines and FAT drives carry clocks that
// may be hours off. (A process id is only known on this computer: a save from another
// computer into a shared folder at that very moment would fail, and say so; nothing
// is lost.)
//
// Every operation reports failure by its result and gives the reason in `error`.
class SafeFile
{
public:
    // What happens when the target is a symbolic link: Follow replaces the content
    // of the file it leads to, in that file's folder, and keeps the link (the player's
    // own files); Replace puts a regular file in place of the link itself (Tintwell's
    // own companions, where following a link could overwrite the very file a backup
    // is meant to keep).
    enum class Links { Replace, Follow };

    static const qint64 staleAge = 24 * 3600;
    // The largest limit readAll() takes: Qt 5 holds no more than 2 GiB in one array.
    static const qint64 largestRead = 1 << 30;

    explicit SafeFile(const QString& target, Links links = Links::Replace);
    ~SafeFile();
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // The new file gets the permissions of `file` rather than those of the target.
    void takePermissionsFrom(const QString& file);
    // Writes the whole new content to the temporary file and syncs it.
    bool write(const QByteArray& data, QString* error = nullptr);
    // Puts the written content in place of the target. A caller that puts several files
    // in place in a row makes them durable at once with syncFolder().
    bool putInPlace(QString* error = nullptr);
    // Fails when the system cannot confirm that the renamed file is on disk; the new
    // content is in place all the same.
    bool syncFolder(QString* error = nullptr) const;
    // The file whose content is replaced: the target, or where its links lead.
    QString destination() const;

    // Clears the temporaries that died writes left in the target's folder.
    static void removeLeftovers(const QString& target);
    // `inPlace`, when given, tells whether the new content took the target's place: a
    // failure after the rename (the folder's sync) leaves the new file there.
    static bool replace(const QString& target, const QByteArray& data, QString* error = nullptr,
                        Links links = Links::Replace, bool* inPlace = nullptr);
    // Reads the whole source first, so a missing or unreadable source changes nothing.
    static bool copy(const QString& source, const QString& target, qint64 maxSize,
                     QString* error = nullptr);
    // Reads a regular file whole, in pieces, when it holds no more than `maxSize` bytes
    // (at most largestRead). Anything else (a folder, a pipe, a device, a socket) is
    // refused without waiting on it; so is a file that turns out larger than the limit
    // or shorter than it was when it was opened. A file written or replaced meanwhile
    // is read again.
    static bool readAll(const QString& path, qint64 maxSize, QByteArray* data,
                        QString* error = nullptr);
    // Whether this process may replace the file at the path (or nothing is there);
    // when not, `error` says why, without the path.
    static bool mayReplace(const QString& path, QString* error = nullptr);

private:
    bool fail(QString* error, const QString& what, const QString& reason);
    bool createTemp(QFile* file);
    void discard();
    bool resolveTarget(QString* error);

    QString target;
    Links links;
    QString path;
    QString modeSource;
    QString tempName;
    bool written = false;
};
