// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

class AOColor;
class AOColors;
class ColorFolder;
class FileStamp;

// The game's colour file: read into a colour table and written back from one. Every
// operation reports failure by its result and gives the reason in `error`.
class ColorFile
{
public:
    // Thousands of times any colour file the game ships; bigger files are refused
    // unread. The reader refuses any document whose table would be written larger, so
    // whatever Tintwell writes it reads again: 200,000 entries with names of 32
    // characters outside ASCII come to 28 MB.
    static const qint64 maxSize = 32 * 1024 * 1024;
    // The bytes of "<Root>" and "</Root>" on lines of their own.
    static const qint64 rootSize = 15;

    // Replaces the table's entries with one per "HTMLColor" element of the document,
    // in document order. The table is empty when the document is refused.
    static bool read(const QByteArray& data, AOColors* table, QString* error = nullptr);
    // Also gives the stamp of the bytes it read, for a later save to compare.
    static bool load(const QString& path, AOColors* table, QString* error = nullptr,
                     FileStamp* stamp = nullptr);

    // A new document with one "HTMLColor" element per entry below the root "Root",
    // without an XML declaration, in UTF-8.
    static QByteArray toXml(const AOColors& table);
    // The most bytes that toXml() takes for the entry, now or after a colour is picked
    // for it.
    static qint64 sizeBound(const AOColor& entry);

    // Writes the table as the folder's colour file and keeps the file it replaces,
    // byte for byte, as the backup. Both new files are written and synced before
    // either is put in place, and the colour file is only ever replaced whole: after
    // a failure it is unchanged, and the backup holds either what it held or a copy
    // of the unchanged colour file. A colour file reached through a link is replaced
    // where the link leads. `saved` receives the stamp of the file as written.
    static bool save(const ColorFolder& folder, const AOColors& table, QString* error = nullptr,
                     FileStamp* saved = nullptr);
};
