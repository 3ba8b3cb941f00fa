// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// What a file held when Tintwell read it: its size, its modification time and a hash
// of the very bytes that were read, so that a save can tell whether another program
// (the game, or a second Tintwell) has changed the file since.
//
// The bytes decide. The modification time alone misses a change made within the
// same tick of a coarse clock (FAT keeps two seconds) that keeps the size, as a
// changed colour does, and it reports a change when a program only touched the file
// or wrote the same bytes again, where overwriting loses nothing.
class FileStamp
{
public:
    FileStamp() = default;
    // The stamp of `data`, just read from `path`.
    FileStamp(const QString& path, const QByteArray& data);

    // Where there is no file at all: the same as every other such stamp, so that a save
    // can expect a file to be still missing.
    static FileStamp absent();

    bool isValid() const;
    // Whether both stamps describe the same bytes.
    bool sameContent(const FileStamp& other) const;
    // The bytes' hash in hex, for a file that keeps which content it has seen; empty
    // when there were no bytes.
    QByteArray digest() const;
    // "123 bytes, modified 2026-12-08 12:00:01", for debug lines.
    QString describe() const;

private:
    bool valid = false;
    qint64 size = -1;
    QDateTime modified;
    QByteArray hash;
};
