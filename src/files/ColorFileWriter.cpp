// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ColorFileWriter.h"

#include "model/AOColors.h"

#include <QString>

#include <algorithm>

namespace
{

// Escapes an attribute value exactly as Qt's DOM does when it prints a document, so
// the file is the one the DOM would write. Tabs and line ends become character
// references, since a reader turns them into blanks otherwise. Other control
// characters and U+FFFE/U+FFFF, which the DOM would print as they are, become
// character references too: a raw NUL makes the file unreadable, and Qt's parser
// takes a raw U+FFFF for the end of the file.
// textSizeBound, right below, counts these escapes: the two change together.
void appendAttributeValue(QString* xml, const QString& value)
{
    const int start = xml->size();
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '<':
            *xml += QLatin1String("&lt;");
            break;
        case '"':
            *xml += QLatin1String("&quot;");
            break;
        case '&':
            *xml += QLatin1String("&amp;");
            break;
        case '>':
            if (xml->size() - start >= 2 && xml->endsWith(QLatin1String("]]")))
                *xml += QLatin1String("&gt;");
            else
                *xml += c;
            break;
        default:
            if (c.unicode() < 0x20 || c.unicode() >= 0xfffe)
                *xml += QStringLiteral("&#x%1;").arg(c.unicode(), 0, 16);
            else
                *xml += c;
        }
    }
}

// The escapes of appendAttributeValue, counted generously: every '>' as escaped, every
// character outside ASCII as three bytes of UTF-8 (a surrogate pair takes four).
qint64 textSizeBound(const QString& text)
{
    qint64 size = 0;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u == '"')
            size += 6;
        else if (u == '&')
            size += 5;
        else if (u == '<' || u == '>')
            size += 4;
        else if (u < 0x20)
            size += 6;
        else if (u >= 0xfffe)
            size += 8;
        else
            size += u < 0x80 ? 1 : 3;
    }
    return size;
}

} // namespace

qint64 ColorFileWriter::sizeBound(const AOColor& entry)
{
    // A colour picked anew is written as "0x" and at most eight digits.
    const qint64 pickedColor = 10;
    return qint64(sizeof("    <HTMLColor name=\"\" color=\"\"/>\n") - 1) +
           textSizeBound(entry.name) + std::max(textSizeBound(entry.value), pickedColor);
}

QByteArray ColorFileWriter::toXml(const AOColors& table)
{
    if (table.isEmpty())
        return QByteArrayLiteral("<Root/>\n");
    QString xml;
    xml.reserve(64 * table.size() + 16);
    xml += QLatin1String("<Root>\n");
    for (const AOColor& entry : table) {
        xml += QLatin1String("    <HTMLColor name=\"");
        appendAttributeValue(&xml, entry.name);
        xml += QLatin1String("\" color=\"");
        appendAttributeValue(&xml, entry.value);
        xml += QLatin1String("\"/>\n");
    }
    xml += QLatin1String("</Root>\n");
    return xml.toUtf8();
}
