// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ColorFile.h"

#include "files/ColorFileReader.h"
#include "files/ColorFolder.h"
#include "files/FileStamp.h"
#include "files/SafeFile.h"
#include "model/AOColors.h"
#include "platform/NativeFile.h"
#include "platform/SystemError.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <utility>

namespace
{

// Escapes an attribute value exactly as Qt's DOM does when it prints a document, so
// the file is the one the DOM would write. Tabs and line ends become character
// references, since a reader turns them into blanks otherwise. Other control
// characters and U+FFFE/U+FFFF, which the DOM would print as they are, become
// character references too: a raw NUL makes the file unreadable, and Qt's parser
// takes a raw U+FFFF for the end of the file.
// Keep textSizeBound below in step.
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

bool ColorFile::read(QByteArray data, AOColors* table, QString* error)
{
    return ColorFileReader::read(std::move(data), table, error);
}

bool ColorFile::load(const QString& path, AOColors* table, QString* error, FileStamp* stamp)
{
    table->clear();
    QByteArray data;
    if (!SafeFile::readAll(path, maxSize, &data, error))
        return false;
    if (stamp)
        *stamp = FileStamp(path, data);
    QString reason;
    if (!read(std::move(data), table, &reason))
        return SystemError::fail(error, path, reason);
    return true;
}

bool ColorFile::readSource(const QString& path, QByteArray* data, QString* error, AOColors* table)
{
    if (!SafeFile::readAll(path, maxSize, data, error))
        return false;
    AOColors colors;
    if (!table)
        table = &colors;
    QString reason;
    if (!read(*data, table, &reason))
        return SystemError::fail(error, path, QStringLiteral("it is not a colour file: ") + reason);
    if (table->isEmpty())
        return SystemError::fail(error, path, QStringLiteral("it holds no colours"));
    return true;
}

bool ColorFile::restore(const ColorFolder& folder, const QString& source, QString* error)
{
    QByteArray data;
    return folder.checkColorFileLink(error) && readSource(source, &data, error) &&
           SafeFile::replace(folder.colorFile(), data, error, SafeFile::Links::Follow);
}

namespace
{

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

qint64 ColorFile::sizeBound(const AOColor& entry)
{
    // A colour picked anew is written as "0x" and at most eight digits.
    const qint64 pickedColor = 10;
    return qint64(sizeof("    <HTMLColor name=\"\" color=\"\"/>\n") - 1) +
           textSizeBound(entry.name) + std::max(textSizeBound(entry.value), pickedColor);
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

namespace
{

// The colour file as it is at one moment: its bytes, or no file at all.
struct Current {
    bool present = false;
    QByteArray data;

    FileStamp stamp(const QString& path) const
    {
        return present ? FileStamp(path, data) : FileStamp::absent();
    }
};

ColorFile::Outcome locked(const QString& path, QString* error)
{
    SystemError::fail(error, path, QStringLiteral("another program has it open"));
    return ColorFile::Outcome::Locked;
}

// Reads the colour file whole. A file that cannot be read cannot be kept as the
// backup either: Failed, or Locked when another program holds it.
ColorFile::Outcome readCurrent(const QString& path, Current* current, QString* error)
{
    const QFileInfo info(path);
    current->present = info.exists() || info.isSymLink();
    current->data.clear();
    if (!current->present || SafeFile::readAll(path, ColorFile::maxSize, &current->data, error))
        return ColorFile::Outcome::Saved;
    return NativeFile::inUse(path, NativeFile::Use::Reading) ? locked(path, error)
                                                             : ColorFile::Outcome::Failed;
}

} // namespace

ColorFile::Outcome ColorFile::save(const ColorFolder& folder, const AOColors& table,
                                   const FileStamp& expected, FileStamp* found, QString* error)
{
    const QString path = folder.colorFile();
    if (!folder.checkColorFileLink(error))
        return Outcome::Failed;
    const QByteArray xml = toXml(table);
    // The colour file is prepared first: a write-protected one is refused before
    // anything else happens.
    SafeFile file(path, SafeFile::Links::Follow);
    if (!file.write(xml, error))
        return Outcome::Failed;

    Current before;
    Outcome outcome = readCurrent(path, &before, error);
    if (outcome != Outcome::Saved)
        return outcome;
    if (expected.isValid()) {
        const FileStamp now = before.stamp(path);
        if (!now.sameContent(expected)) {
            *found = now;
            return Outcome::Changed;
        }
    }
    SafeFile backup(folder.backupFile());
    backup.takePermissionsFrom(file.destination());
    if (before.present && !backup.write(before.data, error))
        return Outcome::Failed;
    // Windows refuses to replace a file that another program holds without sharing its
    // deletion; that is found out before the backup is replaced, not after.
    if (before.present && NativeFile::inUse(file.destination(), NativeFile::Use::Replacing))
        return locked(path, error);

    // The last check: whatever was written since the backup's content was read would
    // be in neither file. The file's state is looked at once more after its bytes were
    // compared, which takes milliseconds for a large file, so that only the renames
    // are left between the check and the new file.
    const QByteArray state = NativeFile::state(path);
    Current last;
    outcome = readCurrent(path, &last, error);
    if (outcome != Outcome::Saved)
        return outcome;
    if (last.present != before.present || last.data != before.data ||
        NativeFile::state(path) != state) {
        *found = last.stamp(path);
        return Outcome::Changed;
    }
    // The two renames follow each other without a sync between them, which would widen
    // the moment in which another program's write could still be lost.
    if (before.present && !backup.putInPlace(error))
        return Outcome::Failed;
    // The earlier backup is not put back when this last step fails: another save may
    // have replaced the backup since, and an older backup must never overwrite a newer
    // one. The backup then holds what the colour file still holds, so nothing the
    // player saw is lost.
    if (!file.putInPlace(error)) {
        if (before.present && error)
            *error += QStringLiteral("; TextColors.xml.bak now holds a copy of TextColors.xml");
        return Outcome::Failed;
    }
    file.syncFolder();
    backup.syncFolder();
    *found = FileStamp(file.destination(), xml);
    return Outcome::Saved;
}

bool ColorFile::save(const ColorFolder& folder, const AOColors& table, QString* error,
                     FileStamp* saved)
{
    FileStamp found;
    const Outcome outcome = save(folder, table, FileStamp(), &found, error);
    if (outcome == Outcome::Changed)
        SystemError::fail(error, folder.colorFile(),
                          QStringLiteral("another program wrote to it while it was saved"));
    if (outcome != Outcome::Saved)
        return false;
    if (saved)
        *saved = found;
    return true;
}
