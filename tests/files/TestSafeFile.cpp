// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/SafeFile.h"

#include "common/Files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestSafeFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void replaceWritesNewAndKeepsNoTemporary();
    void uncommittedWriteLeavesTargetAlone();
    void copyFromMissingSourceChangesNothing();
    void folderInTheWayIsRefused();
    void symlinkIsReplacedNotFollowed();
    void keepsTheFilesOwnModeAndClearsStaleTemporaries();
    void temporaryFileIsClosedBeforeCommit();

private:
    std::unique_ptr<QTemporaryDir> dir;
    QString target;
};

void TestSafeFile::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    target = dir->filePath(QStringLiteral("TextColors.xml"));
}

void TestSafeFile::replaceWritesNewAndKeepsNoTemporary()
{
    QVERIFY(SafeFile::replace(target, "first"));
    QCOMPARE(contents(target), QByteArray("first"));
    QString error;
    QVERIFY(SafeFile::replace(target, "second", &error));
    QVERIFY(error.isEmpty());
    QCOMPARE(contents(target), QByteArray("second"));
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("TextColors.xml")});
}

void TestSafeFile::uncommittedWriteLeavesTargetAlone()
{
    put(target, "old");
    {
        SafeFile file(target);
        QVERIFY(file.write("new"));
        QCOMPARE(contents(target), QByteArray("old"));
    }
    QCOMPARE(contents(target), QByteArray("old"));
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void TestSafeFile::copyFromMissingSourceChangesNothing()
{
    put(target, "kept");
    QString error;
    QVERIFY(!SafeFile::copy(dir->filePath(QStringLiteral("missing.bak")), target, &error));
    QVERIFY(error.contains(QStringLiteral("missing.bak")));
    QCOMPARE(contents(target), QByteArray("kept"));

    put(dir->filePath(QStringLiteral("source")), "copied");
    QVERIFY(SafeFile::copy(dir->filePath(QStringLiteral("source")), target));
    QCOMPARE(contents(target), QByteArray("copied"));
    QCOMPARE(contents(dir->filePath(QStringLiteral("source"))), QByteArray("copied"));
}

void TestSafeFile::folderInTheWayIsRefused()
{
    QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("TextColors.xml")));
    QString error;
    QVERIFY(!SafeFile::replace(target, "data", &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(QFileInfo(target).isDir());
    QVERIFY(!SafeFile::copy(target, dir->filePath(QStringLiteral("other")), &error));
    QVERIFY(!QFile::exists(dir->filePath(QStringLiteral("other"))));
}

void TestSafeFile::symlinkIsReplacedNotFollowed()
{
    const QString backup = target + QStringLiteral(".bak");
    put(target, "game file");
    QVERIFY(QFile::link(target, backup));
    QVERIFY(SafeFile::replace(backup, "backup"));
    QCOMPARE(contents(target), QByteArray("game file"));
    QCOMPARE(contents(backup), QByteArray("backup"));
    QVERIFY(!QFileInfo(backup).isSymLink());
}

// Windows refuses to rename a file that is still open, so nothing may hold the
// temporary file open between write() and commit(). Checked through Linux's list of
// the process's open files.
void TestSafeFile::temporaryFileIsClosedBeforeCommit()
{
    QDir descriptors(QStringLiteral("/proc/self/fd"));
    if (!descriptors.exists())
        QSKIP("needs /proc/self/fd");
    const auto openBelowTheFolder = [&] {
        QStringList open;
        for (const QFileInfo& fd : descriptors.entryInfoList(QDir::System | QDir::Files))
            if (fd.symLinkTarget().startsWith(dir->path()))
                open << fd.symLinkTarget();
        return open;
    };
    put(target, "old");
    SafeFile file(target);
    QVERIFY(file.write("new"));
    QCOMPARE(openBelowTheFolder(), QStringList());
    QVERIFY(file.commit());
    QCOMPARE(contents(target), QByteArray("new"));
    QCOMPARE(openBelowTheFolder(), QStringList());
}

void TestSafeFile::keepsTheFilesOwnModeAndClearsStaleTemporaries()
{
    put(target, "read-only");
    QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    // Left behind by a save that was killed half-way.
    const QString stale = target + QStringLiteral(".tintwell-abc123.tmp");
    put(stale, "half a file");
    const QString unrelated = target + QStringLiteral(".bak.tintwell-abc123.tmp");
    put(unrelated, "another file's temporary");

    QVERIFY(SafeFile::replace(target, "replaced"));
    QCOMPARE(QFileInfo(target).permissions() &
                 (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther),
             QFile::Permissions());
    QVERIFY(!QFile::exists(stale));
    QVERIFY(QFile::exists(unrelated));
}

QTEST_GUILESS_MAIN(TestSafeFile)
#include "TestSafeFile.moc"
