// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

class AOColors;
class ColorFolder;
class FileStamp;

// The game's colour file: read into a colour table and written back from one. Every
// operation reports failure by its result and gives the reason in `error`.
class ColorFile
{
public:
    // How a save ended: the new file is in place; it is in place but the system could
    // not confirm that it is on disk (the reason is in the error); nothing was written
    // because the file does not hold what it was expected to; another program holds it
    // open so that it cannot be replaced (the game, on Windows); or the reason is in the
    // error.
    enum class Outcome { Saved, Unconfirmed, Changed, Locked, Failed };

    // Also gives the stamp of the bytes it read, for a later save to compare.
    static bool load(const QString& path, AOColors* table, QString* error = nullptr,
                     FileStamp* stamp = nullptr);
    // The bytes of a file that is to take the colour file's place (a restore's source,
    // a file to import), when they make a colour file with at least one colour.
    // `table` receives its colours when given.
    static bool readSource(const QString& path, QByteArray* data, QString* error = nullptr,
                           AOColors* table = nullptr);
    // Replaces the folder's colour file by a copy of `source` that readSource() accepts,
    // where the colour file's links lead.
    // `inPlace` as SafeFile::replace gives it.
    static bool restore(const ColorFolder& folder, const QString& source, QString* error = nullptr,
                        bool* inPlace = nullptr);

    // Whether the bytes of a colour file can be read back: false, with the reason,
    // when they are more than the reader takes. Nothing is written that could not be.
    static bool fitsReader(const QByteArray& xml, QString* error = nullptr);
    static bool fitsReader(const AOColors& table, QString* error = nullptr);

    // Writes the table as the folder's colour file and keeps the file it replaces,
    // byte for byte, as the backup. Both new files are written and synced before
    // either is put in place, and the colour file is only ever replaced whole: after
    // a failure it is unchanged, and the backup holds either what it held or a copy
    // of the unchanged colour file. A colour file reached through a link is replaced
    // where the link leads; one that leads to its own backup or one-time copy is
    // refused. A colour file that cannot be read whole is not replaced: its backup
    // would be empty or cut short.
    //
    // Another program may write the file at any moment. Its content is checked twice:
    // against `expected` (the stamp of the last load or save; an invalid stamp expects
    // nothing) before anything is prepared, and, right before the backup and the new
    // file are renamed into place, against what went into the backup. When either
    // differs the result is Changed, nothing is replaced, and `found` receives the stamp
    // of what the file holds; saving again while expecting that stamp keeps it as the
    // backup. On Saved and Unconfirmed, `found` receives the stamp of the file as written.
    //
    // What is left is the moment between the last check and the end of the rename of
    // the new file: the two renames. Measured on a local ext4 disk from the last look at
    // the file to the rename's return: a median of 0.15 ms for the game's own file of
    // 3.6 KB (4,893 saves; 99 % within 8 ms while other builds kept the machine busy), and
    // 7-14 ms for a file of 15 MB, whose old blocks the renames free.
    static Outcome save(const ColorFolder& folder, const AOColors& table, const FileStamp& expected,
                        FileStamp* found, QString* error = nullptr);
};
