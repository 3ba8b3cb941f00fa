// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/FileStamp.h"

#include "common/Files.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

class TestFileStamp : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void bytesDecide();
    void unreadableFileHasNoStamp();

private:
    void setModified(const QDateTime& time);

    std::unique_ptr<QTemporaryDir> dir;
    QString path;
};

void TestFileStamp::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    path = dir->filePath(QStringLiteral("TextColors.xml"));
}

void TestFileStamp::setModified(const QDateTime& time)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
}

void TestFileStamp::bytesDecide()
{
    const QByteArray read = "<Root><HTMLColor name=\"a\" color=\"0x102030\"/></Root>";
    put(path, read);
    const FileStamp stamp(path, read);
    QVERIFY(stamp.isValid());
    QVERIFY(stamp.sameContent(stampOnDisk(path, 1024)));

    // Touched only: the same bytes, nothing to lose.
    setModified(QDateTime::currentDateTime().addDays(-1));
    QVERIFY(stamp.sameContent(stampOnDisk(path, 1024)));

    // Another colour of the same length, with the old time: a change all the same.
    const QDateTime modified = QFileInfo(path).lastModified();
    put(path, QByteArray(read).replace("0x102030", "0x102031"));
    setModified(modified);
    QCOMPARE(QFileInfo(path).size(), qint64(read.size()));
    QVERIFY(!stamp.sameContent(stampOnDisk(path, 1024)));

    put(path, read + "\n");
    QVERIFY(!stamp.sameContent(stampOnDisk(path, 1024)));
    QVERIFY(stamp.describe().startsWith(QStringLiteral("%1 bytes, modified ").arg(read.size())));
}

void TestFileStamp::unreadableFileHasNoStamp()
{
    QVERIFY(!FileStamp().isValid());
    QVERIFY(!FileStamp().sameContent(FileStamp()));
    const FileStamp missing = stampOnDisk(path, 1024);
    QVERIFY(!missing.isValid());
    QVERIFY(!missing.sameContent(missing));
    QCOMPARE(missing.describe(), QStringLiteral("not readable"));
    QVERIFY(FileStamp::absent().sameContent(FileStamp::absent()));
    QVERIFY(!FileStamp::absent().sameContent(FileStamp(path, QByteArray())));

    put(path, QByteArray(1025, 'x'));
    QVERIFY(!stampOnDisk(path, 1024).isValid());
    QVERIFY(stampOnDisk(path, 1025).isValid());
#ifdef Q_OS_UNIX
    // A pipe in the file's place is no file, and it is not waited on.
    QVERIFY(QFile::remove(path));
    QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    QVERIFY(!stampOnDisk(path, 1024).isValid());
#endif
}

QTEST_GUILESS_MAIN(TestFileStamp)
#include "TestFileStamp.moc"
