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
    // Hundreds of times any colour file the game ships, and room for 200,000 colours;
    // bigger files are refused unread, so that loading always ends quickly.
    static const qint64 maxSize = 11 * 1024 * 1024;

    // Replaces the table's entries with one per "HTMLColor" element of the document,
    // in document order. The table is empty when the document is refused.
    static bool read(const QByteArray& data, AOColors* table, QString* error = nullptr);
    // Also gives the stamp of the bytes it read, for a later save to compare.
    static bool load(const QString& path, AOColors* table, QString* error = nullptr,
                     FileStamp* stamp = nullptr);

    // A new document with one "HTMLColor" element per entry below the root "Root",
    // without an XML declaration, in UTF-8.
    static QByteArray toXml(const AOColors& table);

    // Writes the table as the folder's colour file and keeps the file it replaces,
    // byte for byte, as the backup. Both new files are written and synced before
    // either is put in place, and the colour file is only ever replaced whole: after
    // a failure it is unchanged, and the backup holds either what it held or a copy
    // of the unchanged colour file. A colour file reached through a link is replaced
    // where the link leads. `saved` receives the stamp of the file as written.
    static bool save(const ColorFolder& folder, const AOColors& table, QString* error = nullptr,
                     FileStamp* saved = nullptr);
};
