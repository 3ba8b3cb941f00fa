// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/FileStamp.h"

#include <QCryptographicHash>
#include <QFileInfo>

// The hash only tells one content of the file from another: a program able to change
// the file needs no forged hash to do harm. SHA-1 reads a large file in a fifth of the
// time SHA-256 takes, and every load is hashed while the player waits.
FileStamp::FileStamp(const QString& path, const QByteArray& data)
    : valid(true), size(data.size()), modified(QFileInfo(path).lastModified()),
      hash(QCryptographicHash::hash(data, QCryptographicHash::Sha1))
{
}

FileStamp FileStamp::absent()
{
    FileStamp stamp;
    stamp.valid = true;
    return stamp;
}

bool FileStamp::isValid() const
{
    return valid;
}

bool FileStamp::sameContent(const FileStamp& other) const
{
    return valid && other.valid && size == other.size && hash == other.hash;
}

QByteArray FileStamp::digest() const
{
    return hash.toHex();
}

QString FileStamp::describe() const
{
    if (!valid)
        return QStringLiteral("not readable");
    if (size < 0)
        return QStringLiteral("no file");
    return QStringLiteral("%1 bytes, modified %2")
        .arg(size)
        .arg(modified.toString(Qt::ISODateWithMs));
}
