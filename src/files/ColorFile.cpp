// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ColorFile.h"

#include "files/ColorFileReader.h"
#include "files/ColorFileWriter.h"
#include "files/ColorFolder.h"
#include "files/FileError.h"
#include "files/FileStamp.h"
#include "files/SafeFile.h"
#include "model/AOColors.h"
#include "platform/NativeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <utility>

bool ColorFile::load(const QString& path, AOColors* table, QString* error, FileStamp* stamp)
{
    table->clear();
    QByteArray data;
    if (!SafeFile::readAll(path, ColorFileWriter::maxSize, &data, error))
        return false;
    if (stamp)
        *stamp = FileStamp(path, data);
    QString reason;
    if (!ColorFileReader::read(std::move(data), table, &reason))
        return FileError::fail(error, path, reason);
    return true;
}

bool ColorFile::readSource(const QString& path, QByteArray* data, QString* error, AOColors* table)
{
    if (!SafeFile::readAll(path, ColorFileWriter::maxSize, data, error))
        return false;
    AOColors colors;
    if (!table)
        table = &colors;
    QString reason;
    if (!ColorFileReader::read(*data, table, &reason))
        return FileError::fail(error, path, QStringLiteral("it is not a color file: ") + reason);
    if (table->isEmpty())
        return FileError::fail(error, path, QStringLiteral("it holds no colors"));
    return true;
}

bool ColorFile::restore(const ColorFolder& folder, const QString& source, QString* error,
                        bool* inPlace)
{
    if (inPlace)
        *inPlace = false;
    QByteArray data;
    return folder.checkColorFileLink(error) && readSource(source, &data, error) &&
           SafeFile::replace(folder.colorFile(), data, error, SafeFile::Links::Follow, inPlace);
}

bool ColorFile::fitsReader(const QByteArray& xml, QString* error)
{
    if (xml.size() <= ColorFileWriter::maxSize)
        return true;
    const QLocale english(QLocale::English);
    return FileError::fail(
        error,
        QStringLiteral("The colors would take %1 bytes as a color file, more than the "
                       "%2 bytes Tintwell reads, so the file could not be read again")
            .arg(english.toString(qint64(xml.size())), english.toString(ColorFileWriter::maxSize)));
}

bool ColorFile::fitsReader(const AOColors& table, QString* error)
{
    return fitsReader(ColorFileWriter::toXml(table), error);
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
    FileError::fail(error, path, QStringLiteral("another program has it open"));
    return ColorFile::Outcome::Locked;
}

// Reads the colour file whole, or finds that there is none.
bool readCurrent(const QString& path, Current* current, QString* error)
{
    const QFileInfo info(path);
    current->present = info.exists() || info.isSymLink();
    current->data.clear();
    return !current->present ||
           SafeFile::readAll(path, ColorFileWriter::maxSize, &current->data, error);
}

// A file that cannot be read cannot be kept as the backup either: Failed, or Locked
// when another program holds it.
ColorFile::Outcome unreadable(const QString& path, QString* error)
{
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
    const QByteArray xml = ColorFileWriter::toXml(table);
    if (!fitsReader(xml, error))
        return Outcome::Failed;
    // The colour file is prepared first: a write-protected one is refused before
    // anything else happens.
    SafeFile file(path, SafeFile::Links::Follow);
    if (!file.write(xml, error))
        return Outcome::Failed;

    Current before;
    if (!readCurrent(path, &before, error))
        return unreadable(path, error);
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
    if (!readCurrent(path, &last, error))
        return unreadable(path, error);
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
    *found = FileStamp(file.destination(), xml);
    const bool synced = file.syncFolder(error);
    if (!backup.syncFolder(synced ? error : nullptr) || !synced)
        return Outcome::Unconfirmed;
    return Outcome::Saved;
}
