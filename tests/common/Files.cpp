// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Files.h"

#include "files/SafeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

FileStamp stampOnDisk(const QString& path, qint64 maxSize)
{
    QByteArray data;
    if (!SafeFile::readAll(path, maxSize, &data))
        return FileStamp();
    return FileStamp(path, data);
}

void put(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(data), qint64(data.size()));
}

Snapshot snapshotFolder(const QString& folder)
{
    Snapshot files;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                             QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& info : entries)
        files.insert(info.fileName(),
                     info.isDir() ? QByteArray("<folder>") : contents(info.filePath()));
    return files;
}

Snapshot snapshot(const QString& root, const QStringList& files)
{
    Snapshot found;
    for (const QString& name : files)
        found.insert(name, contents(root + QLatin1Char('/') + name));
    return found;
}

QStringList leftovers(const QString& root, const QStringList& known)
{
    QStringList found;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = QDir(root).relativeFilePath(it.next());
        // The colors Tintwell keeps of each install, in a folder of its own.
        const bool kept = it.fileInfo().dir().dirName() == QLatin1String("Kept colors") &&
                          QStringList{"xml", "state"}.contains(it.fileInfo().suffix());
        if (!known.contains(relative) && !known.contains(it.fileName()) && !kept)
            found << relative;
    }
    return found;
}

QByteArray textLines(QByteArray lf)
{
#ifdef Q_OS_WIN
    lf.replace("\n", "\r\n");
#endif
    return lf;
}

QString besideTest(const QString& name)
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
}
