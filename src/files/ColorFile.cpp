// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ColorFile.h"

#include "files/ColorFolder.h"
#include "files/FileStamp.h"
#include "files/SafeFile.h"
#include "files/XmlGuard.h"
#include "model/AOColors.h"

#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace
{

bool failWith(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

void collectEntries(const QDomDocument& document, AOColors* table)
{
    const QDomNodeList elements = document.elementsByTagName(QStringLiteral("HTMLColor"));
    table->reserve(elements.size());
    for (int i = 0; i < elements.size(); ++i) {
        const QDomElement element = elements.item(i).toElement();
        AOColor entry;
        entry.name = element.attribute(QStringLiteral("name"));
        entry.value = element.attribute(QStringLiteral("color"));
        table->append(entry);
    }
}

// Qt's DOM cuts a character reference beyond U+FFFF to its last 16 bits, so such
// references are replaced by the characters themselves before it sees them.
void expandWideCharacterReferences(QString* text)
{
    if (!text->contains(QLatin1String("&#")))
        return;
    static const QRegularExpression reference(
        QStringLiteral("&#(?:x([0-9A-Fa-f]{5,8})|([0-9]{5,8}));"));
    QString result;
    int from = 0;
    QRegularExpressionMatchIterator it = reference.globalMatch(*text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        bool ok = false;
        const uint code = match.capturedLength(1) > 0 ? match.captured(1).toUInt(&ok, 16)
                                                      : match.captured(2).toUInt(&ok, 10);
        if (!ok || code <= 0xffff || code > 0x10ffff)
            continue;
        result.append(QStringView(*text).mid(from, match.capturedStart() - from));
        result += QString::fromUcs4(&code, 1);
        from = match.capturedEnd();
    }
    if (from == 0)
        return;
    result.append(QStringView(*text).mid(from));
    *text = result;
}

// Escapes an attribute value exactly as Qt's DOM does when it prints a document, so
// the file is the one the DOM would write. Tabs and line ends become character
// references, since a reader turns them into blanks otherwise. Other control
// characters and U+FFFE/U+FFFF, which the DOM would print as they are, become
// character references too: a raw NUL makes the file unreadable, and Qt's parser
// takes a raw U+FFFF for the end of the file.
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

} // namespace

bool ColorFile::read(const QByteArray& data, AOColors* table, QString* error)
{
    table->clear();
    QString text = XmlGuard::decode(data);
    QString reason;
    if (!XmlGuard::check(text, &reason))
        return failWith(error, QStringLiteral("not well-formed XML, or beyond what Tintwell "
                                              "reads safely (%1)")
                                   .arg(reason));
    expandWideCharacterReferences(&text);
    QDomDocument document;
    int line = 0;
    int column = 0;
    if (!document.setContent(text, &reason, &line, &column))
        return failWith(error, QStringLiteral("not well-formed XML (line %1, column %2: %3)")
                                   .arg(line)
                                   .arg(column)
                                   .arg(reason));
    collectEntries(document, table);
    return true;
}

bool ColorFile::load(const QString& path, AOColors* table, QString* error, FileStamp* stamp)
{
    table->clear();
    const QFileInfo info(path);
    if (!info.exists())
        return failWith(error, path + QStringLiteral(": no such file"));
    if (info.isDir())
        return failWith(error, path + QStringLiteral(": is a folder"));
    if (!info.isFile())
        return failWith(error, path + QStringLiteral(": is not a regular file"));
    const QString tooLarge = QStringLiteral("%1: larger than %2 bytes, too large for a colour file")
                                 .arg(path)
                                 .arg(maxSize);
    if (info.size() > maxSize)
        return failWith(error, tooLarge);
    QByteArray data;
    if (!SafeFile::readAll(path, &data, error))
        return false;
    if (data.size() > maxSize)
        return failWith(error, tooLarge);
    if (stamp)
        *stamp = FileStamp(path, data);
    QString reason;
    if (!read(data, table, &reason))
        return failWith(error, path + QStringLiteral(": ") + reason);
    return true;
}

// Printed directly rather than built as a DOM first: the document is always the same
// simple shape, and building it node by node took most of the time of a save. The
// text is what the DOM prints with an indentation of 4, with the attributes always
// in the order "name", "color".
QByteArray ColorFile::toXml(const AOColors& table)
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

bool ColorFile::save(const ColorFolder& folder, const AOColors& table, QString* error,
                     FileStamp* saved)
{
    const QString path = folder.colorFile();
    const QByteArray xml = toXml(table);
    // The colour file is prepared first: a write-protected one is refused before
    // anything else happens.
    SafeFile file(path, SafeFile::Links::Follow);
    if (!file.write(xml))
        return failWith(error, file.errorString());

    // Read as late as possible, so the backup keeps whatever another program wrote
    // up to this moment. Without a previous file the backup stays as it is.
    const bool hasPrevious = QFileInfo::exists(path);
    QByteArray previous;
    if (hasPrevious && !SafeFile::readAll(path, &previous, error))
        return false;
    SafeFile backup(folder.backupFile());
    if (hasPrevious && !(backup.write(previous) && backup.commit()))
        return failWith(error, backup.errorString());
    // The earlier backup is not put back when this last step fails: another save may
    // have replaced the backup since, and an older backup must never overwrite a newer
    // one. The backup then holds what the colour file still holds, so nothing the
    // player saw is lost.
    if (!file.commit())
        return failWith(error, file.errorString() +
                                   (hasPrevious ? QStringLiteral("; TextColors.xml.bak now holds a "
                                                                 "copy of TextColors.xml")
                                                : QString()));
    if (saved)
        *saved = FileStamp(path, xml);
    return true;
}
