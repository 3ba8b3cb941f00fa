// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/ColorFile.h"
#include "files/ColorFileReader.h"
#include "files/FileStamp.h"
#include "model/AOColors.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QVector>

// Fills the program-wide table the way the colour file reader does: only name and
// text are set, and appending reads the text.
inline void setColorTable(const QVector<QPair<QString, QString>>& entries)
{
    aoColors.clear();
    for (const auto& entry : entries) {
        AOColor color;
        color.name = entry.first;
        color.value = entry.second;
        aoColors.append(color);
    }
}

// A save that expects no particular content in the colour file: true when saved.
inline bool saveTable(const ColorFolder& folder, const AOColors& table, QString* error = nullptr)
{
    FileStamp found;
    return ColorFile::save(folder, table, FileStamp(), &found, error) == ColorFile::Outcome::Saved;
}

// The name and colour text of every entry in `data`, in order; none when it is not a
// colour file.
inline QList<QPair<QString, QString>> colorPairs(const QByteArray& data)
{
    AOColors table;
    QList<QPair<QString, QString>> pairs;
    if (ColorFileReader::read(data, &table)) {
        for (const AOColor& color : qAsConst(table))
            pairs.append({color.name, color.value});
    }
    return pairs;
}

// A colour file of `count` entries, each name and colour its own: the file the
// colour-file benchmark measures, and a large file for the tests.
inline QByteArray generatedColorFile(int count)
{
    QByteArray data = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Root>\n";
    for (int i = 0; i < count; ++i)
        data += QStringLiteral("    <HTMLColor name=\"ctch_%1\" color=\"0x%2\" />\n")
                    .arg(i, 6, 10, QLatin1Char('0'))
                    .arg((i * 2654435761u) & 0xffffff, 6, 16, QLatin1Char('0'))
                    .toUtf8();
    return data + "</Root>\n";
}
