// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/KeptColors.h"

#include "files/ColorFile.h"
#include "files/ColorFileReader.h"
#include "files/ColorFileWriter.h"
#include "files/ColorFolder.h"
#include "files/FileError.h"
#include "files/FileStamp.h"
#include "files/Preferences.h"
#include "files/SafeFile.h"
#include "platform/NativeFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace
{

const QLatin1String header("## Tintwell kept colors ##");
const qint64 maxStateSize = 64 * 1024;

// What a file name may not hold on any system the game runs on.
QString fileNamePart(QString name)
{
    static const QString forbidden = QStringLiteral("<>:\"/\\|?*");
    for (QChar& c : name) {
        if (c.unicode() < 32 || forbidden.contains(c))
            c = QLatin1Char('_');
    }
    return name.left(40).trimmed();
}

} // namespace

QString KeptColors::defaultStore()
{
    return QDir::current().absoluteFilePath(QStringLiteral("Kept colors"));
}

// The file's name starts with the install folder's own name, for the player to tell
// the schemes apart; the hash of the whole resolved folder keeps installs of the same
// name apart.
KeptColors::KeptColors(const QString& aoPath, const QString& store) : storeFolder(store)
{
    QString reason;
    folder = NativeFile::resolvedPath(aoPath, &reason);
    if (folder.isEmpty()) {
        qDebug("KeptColors: %s", qPrintable(reason));
        return;
    }
    const QByteArray key =
        QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    QString name = fileNamePart(QFileInfo(folder).fileName());
    if (name.isEmpty())
        name = QStringLiteral("install");
    base = QDir(store).filePath(name + QLatin1Char('-') + QLatin1String(key));
    readState();
}

bool KeptColors::isValid() const
{
    return !base.isEmpty();
}

QString KeptColors::file() const
{
    return isValid() ? base + QLatin1String(".xml") : QString();
}

QString KeptColors::stateFile() const
{
    return base + QLatin1String(".state");
}

QDateTime KeptColors::savedAt() const
{
    return saved;
}

bool KeptColors::readState()
{
    QByteArray data;
    if (!SafeFile::readAll(stateFile(), maxStateSize, &data))
        return false;
    const QStringList lines = QString::fromUtf8(data).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        QString key;
        QString value;
        if (!Preferences::splitLine(line.trimmed(), &key, &value))
            continue;
        if (key == QLatin1String("Saved"))
            saved = QDateTime::fromString(value, Qt::ISODate);
        else if (key == QLatin1String("Written"))
            written = value.toLatin1();
        else if (key == QLatin1String("Declined"))
            declined = value.toLatin1();
    }
    return true;
}

bool KeptColors::writeState(QString* error)
{
    QString text = header + QLatin1Char('\n');
    text += QLatin1String("Folder = ") + QDir::toNativeSeparators(folder) + QLatin1Char('\n');
    text += QLatin1String("Saved = ") + saved.toUTC().toString(Qt::ISODate) + QLatin1Char('\n');
    text += QLatin1String("Written = ") + QLatin1String(written) + QLatin1Char('\n');
    if (!declined.isEmpty())
        text += QLatin1String("Declined = ") + QLatin1String(declined) + QLatin1Char('\n');
    return SafeFile::replace(stateFile(), text.toUtf8(), error);
}

bool KeptColors::keep(const AOColors& table, const FileStamp& writtenStamp, QString* error)
{
    // Keeping is Tintwell's own business after the player's file is safe: a failure
    // costs nothing the player sees, so it is noted for the debug channel.
    QString reason;
    if (replaceKept(table, writtenStamp, &reason))
        return true;
    qDebug("KeptColors::keep(): %s", qPrintable(reason));
    return FileError::fail(error, reason);
}

bool KeptColors::replaceKept(const AOColors& table, const FileStamp& writtenStamp, QString* error)
{
    if (!isValid())
        return FileError::fail(error, QStringLiteral("the install folder cannot be resolved"));
    const QByteArray xml = ColorFileWriter::toXml(table);
    if (xml.size() > maxSize)
        return FileError::fail(error, file(), QStringLiteral("the colors are too many to keep"));
    if (!QDir().mkpath(storeFolder))
        return FileError::fail(error, storeFolder, QStringLiteral("the folder cannot be made"));
    // The scheme goes first: a state that failed to follow still names the earlier
    // content, and a colour file holding the new colours then differs from them in none.
    if (!SafeFile::replace(file(), xml, error))
        return false;
    saved = QDateTime::currentDateTimeUtc();
    written = writtenStamp.digest();
    declined.clear();
    if (!writeState(error))
        return false;
    prune();
    return true;
}

bool KeptColors::keepColorFile(QString* error)
{
    AOColors table;
    FileStamp stamp;
    const QString colorFile = ColorFolder(folder).colorFile();
    return isValid() && ColorFile::load(colorFile, &table, error, &stamp) &&
           keep(table, stamp, error);
}

int KeptColors::differences(const FileStamp& loaded, const AOColors& table, AOColors* scheme) const
{
    const QByteArray content = loaded.digest();
    if (!isValid() || !saved.isValid() || content.isEmpty() || content == written ||
        content == declined)
        return 0;
    QByteArray data;
    QString reason;
    if (!SafeFile::readAll(file(), maxSize, &data, &reason) ||
        !ColorFileReader::read(data, scheme, &reason)) {
        qDebug("KeptColors: %s", qPrintable(reason));
        return 0;
    }
    int shared = 0;
    int unknown = 0;
    return int(table.schemeChanges(*scheme, &shared, &unknown).size());
}

bool KeptColors::decline(const FileStamp& loaded, QString* error)
{
    declined = loaded.digest();
    return isValid() && writeState(error);
}

// Only the schemes beyond the bound go, least recently saved first; the state file
// follows its scheme.
void KeptColors::prune() const
{
    const QFileInfoList schemes =
        QDir(storeFolder).entryInfoList({QStringLiteral("*.xml")}, QDir::Files, QDir::Time);
    for (int i = maxKept; i < schemes.size(); ++i) {
        const QString path = schemes.at(i).absoluteFilePath();
        if (path == QFileInfo(file()).absoluteFilePath())
            continue;
        QFile::remove(path);
        QFile::remove(path.left(path.size() - 4) + QLatin1String(".state"));
    }
}
