// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/AOColor.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The preferences file "Tintwell.cfg" in the working folder: a header line and
// "key = value" lines in the system's local 8-bit encoding, or in UTF-8 behind a
// byte-order mark when that encoding cannot hold the game folder's name.
class Preferences
{
public:
    // Four short lines; a larger file is no preferences file of Tintwell's and is read
    // as none at all.
    static const qint64 maxSize = 64 * 1024;

    static QString fileName();

    // The file's lines without their line ends (LF, CR LF or CR), in place of what
    // the list held; false, with the list untouched, when the file cannot be read.
    static bool readLines(QStringList* lines);
    // Key and value of a "key = value" line: the value is everything after the first
    // " = ", so a folder named "AO = old" comes back whole. A line without the separator
    // has no value and is refused.
    static bool splitLine(const QString& line, QString* key, QString* value);
    // Empty when the folder can be kept in the file and read back as the same folder;
    // otherwise a sentence saying why not: a line break would end the line, and a name
    // the system cannot give as text would come back as another name.
    static QString cannotKeep(const QString& folder);

    // The file's text as stored: the local 8-bit encoding where it reads back
    // unchanged, otherwise UTF-8 with a byte-order mark.
    static QByteArray encode(const QString& text);
    // UTF-8 when the bytes carry its byte-order mark, or are valid UTF-8 with a byte
    // beyond ASCII (as Notepad saves); otherwise the local 8-bit encoding, as every
    // earlier Tintwell wrote.
    static QString decode(const QByteArray& data);

    // What the file's lines set, each key by its last line: the game folder where a
    // line names one, the page, and the background of the swatches.
    struct Values {
        Values();
        bool hasAOPath = false;
        QString aoPath;
        bool advancedMode = false;
        AOColor background;
    };
    // The file's settings over `values`; false, with them untouched, when the file
    // cannot be read.
    static bool read(Values* values);
    // A line without the separator or of another key changes nothing.
    static void apply(const QString& line, Values* values);

    static QByteArray format(const QString& aoPath, bool advancedMode, const QString& bgColor);
    static bool write(const QString& aoPath, bool advancedMode, const QString& bgColor);
};
