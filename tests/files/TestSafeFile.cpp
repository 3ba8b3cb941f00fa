// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/SafeFile.h"

#include "common/Files.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

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
    void keepsTheFilesOwnMode();
    void writeProtectedFileIsNotReplaced();
    void clearsOnlyStaleTemporaries();
    void linkIsFollowedWhenAsked();
    void readAllRefusesWhatIsNoFile_data();
    void readAllRefusesWhatIsNoFile();
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
    QVERIFY(!SafeFile::copy(dir->filePath(QStringLiteral("missing.bak")), target, 64, &error));
    QVERIFY(error.contains(QStringLiteral("missing.bak")));
    QCOMPARE(contents(target), QByteArray("kept"));

    put(dir->filePath(QStringLiteral("source")), "copied");
    QVERIFY(SafeFile::copy(dir->filePath(QStringLiteral("source")), target, 64));
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
    QVERIFY(!SafeFile::copy(target, dir->filePath(QStringLiteral("other")), 64, &error));
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
// temporary file open between write() and putInPlace(). Checked through Linux's list of
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
    QVERIFY(file.putInPlace() && file.syncFolder());
    QCOMPARE(contents(target), QByteArray("new"));
    QCOMPARE(openBelowTheFolder(), QStringList());
}

void TestSafeFile::keepsTheFilesOwnMode()
{
#ifdef Q_OS_WIN
    QSKIP("Windows keeps no mode bits, only the read-only attribute");
#endif
    put(target, "owner only");
    const QFile::Permissions mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QVERIFY(QFile::setPermissions(target, mode));
    QVERIFY(SafeFile::replace(target, "replaced"));
    QCOMPARE(contents(target), QByteArray("replaced"));
    const QFile::Permissions all = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                   QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                   QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    QCOMPARE(QFileInfo(target).permissions() & all, mode);
}

// Write-protected means kept, for an administrator too: rm asks root before it
// removes such a file, and Tintwell does not replace it at all.
void TestSafeFile::writeProtectedFileIsNotReplaced()
{
    put(target, "protected");
    QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QString error;
    QVERIFY(!SafeFile::replace(target, "replaced", &error));
    QVERIFY2(error.contains(QStringLiteral("write-protected")), qPrintable(error));
    QCOMPARE(contents(target), QByteArray("protected"));
    QString protection;
    QVERIFY(!SafeFile::mayReplace(target, &protection));
    QCOMPARE(protection, QStringLiteral("the file is write-protected (read-only)"));
    QVERIFY(SafeFile::mayReplace(dir->filePath(QStringLiteral("missing")), &protection));
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("TextColors.xml")});
}

// A crashed save's temporaries go once their process is gone, or, naming none, once
// too old to belong to a running save; a young one may be another Tintwell's save in
// progress and stays.
void TestSafeFile::clearsOnlyStaleTemporaries()
{
    put(target, "old");
    const QString stale = target + QStringLiteral(".tintwell-abc123.tmp");
    const QString young = target + QStringLiteral(".tintwell-def456.tmp");
    const QString unrelated = target + QStringLiteral(".bak.tintwell-abc123.tmp");
    // Of a process that is gone, for any file of the folder: no one's any more.
    const QString orphaned = target + QStringLiteral(".bak.tintwell-2147483000-abc123.tmp");
    const QString live =
        target + QStringLiteral(".tintwell-%1-abc123.tmp").arg(QCoreApplication::applicationPid());
    const QDateTime old = QDateTime::currentDateTimeUtc().addSecs(-SafeFile::staleAge - 60);
    for (const QString& name : {stale, young, unrelated, orphaned, live}) {
        put(name, "half a file");
        if (name == stale || name == unrelated) {
            QFile file(name);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
        }
    }
    QVERIFY(SafeFile::replace(target, "replaced"));
    QVERIFY(!QFile::exists(stale));
    QVERIFY(QFile::exists(young));
    QVERIFY(QFile::exists(unrelated));
    QVERIFY(!QFile::exists(orphaned));
    QVERIFY(QFile::exists(live));
}

void TestSafeFile::linkIsFollowedWhenAsked()
{
#ifdef Q_OS_WIN
    QSKIP("a link made on Windows is a shortcut file, which the file system never follows");
#endif
    QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("elsewhere")));
    const QString real = dir->filePath(QStringLiteral("elsewhere/TextColors.xml"));
    const QString middle = dir->filePath(QStringLiteral("middle"));
    put(real, "game file");
    QVERIFY(QFile::link(real, middle));
    QVERIFY(QFile::link(middle, target));
    SafeFile file(target, SafeFile::Links::Follow);
    QVERIFY(file.write("through the links"));
    QCOMPARE(file.destination(), real);
    QVERIFY(file.putInPlace() && file.syncFolder());
    QVERIFY(QFileInfo(target).isSymLink());
    QVERIFY(QFileInfo(middle).isSymLink());
    QCOMPARE(QFileInfo(target).symLinkTarget(), middle);
    QCOMPARE(contents(real), QByteArray("through the links"));
    QCOMPARE(QDir(dir->filePath(QStringLiteral("elsewhere"))).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("TextColors.xml")});

    // Behind the link the same rules hold: a protected file is not replaced.
    QVERIFY(QFile::setPermissions(real, QFile::ReadOwner));
    QVERIFY(!SafeFile::replace(target, "refused", nullptr, SafeFile::Links::Follow));
    QCOMPARE(contents(real), QByteArray("through the links"));

    // A link's "../" counts from the folder it really lies in, also when the way there
    // passes another link: games/AO -> ../real/AO, whose file -> ../../../../shared,
    // which is real/shared, not games/shared.
    const auto at = [this](const char* path) { return dir->filePath(QLatin1String(path)); };
    QVERIFY(QDir().mkpath(at("real/AO/cd_image/gui/default")) && QDir().mkpath(at("games")));
    QVERIFY(QFile::link(QStringLiteral("../real/AO"), at("games/AO")));
    QVERIFY(QFile::link(QStringLiteral("../../../../shared/TextColors.xml"),
                        at("real/AO/cd_image/gui/default/TextColors.xml")));
    put(at("real/shared/TextColors.xml"), "game file");
    put(at("games/shared/TextColors.xml"), "unrelated");
    QVERIFY(SafeFile::replace(at("games/AO/cd_image/gui/default/TextColors.xml"), "saved", nullptr,
                              SafeFile::Links::Follow));
    QCOMPARE(contents(at("real/shared/TextColors.xml")), QByteArray("saved"));
    QCOMPARE(contents(at("games/shared/TextColors.xml")), QByteArray("unrelated"));

    const QString loop = dir->filePath(QStringLiteral("loop"));
    QVERIFY(QFile::link(loop, loop));
    QString error;
    QVERIFY(!SafeFile::replace(loop, "x", &error, SafeFile::Links::Follow));
    QVERIFY(!error.isEmpty());
    QVERIFY(QFileInfo(loop).isSymLink());
}

// Reading never waits: a pipe with no writer, a device and a file beyond the limit
// are refused at once, with the reason.
void TestSafeFile::readAllRefusesWhatIsNoFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("pipe") << "pipe"
                          << "not a regular file";
    QTest::newRow("link to a pipe") << "link to pipe"
                                    << "not a regular file";
    QTest::newRow("link to /dev/zero") << "link to device"
                                       << "not a regular file";
    QTest::newRow("folder") << "folder"
                            << "is a folder";
    QTest::newRow("dangling link") << "dangling link"
                                   << "link to nothing";
    QTest::newRow("missing") << "missing"
                             << "no such file";
    QTest::newRow("beyond the limit") << "large"
                                      << "larger than 16 bytes";
}

void TestSafeFile::readAllRefusesWhatIsNoFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
#ifdef Q_OS_UNIX
    const QString pipe = dir->filePath(QStringLiteral("pipe"));
    QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
    if (kind == QLatin1String("pipe"))
        target = pipe;
    else if (kind == QLatin1String("link to pipe"))
        QVERIFY(QFile::link(pipe, target));
    else if (kind == QLatin1String("link to device"))
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), target));
#else
    if (kind.contains(QLatin1String("pipe")) || kind.contains(QLatin1String("device")))
        QSKIP("needs pipes and devices in the file system");
    if (kind.contains(QLatin1String("link")))
        QSKIP("a link made on Windows is a shortcut file, which the file system never follows");
#endif
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(target));
    else if (kind == QLatin1String("dangling link"))
        QVERIFY(QFile::link(dir->filePath(QStringLiteral("gone")), target));
    else if (kind == QLatin1String("large"))
        put(target, QByteArray(17, 'x'));

    QByteArray data("untouched");
    QString error;
    QVERIFY(!SafeFile::readAll(target, 16, &data, &error));
    QVERIFY2(error.startsWith(QDir::toNativeSeparators(target)) && error.contains(reason),
             qPrintable(error));

    put(dir->filePath(QStringLiteral("small")), QByteArray(16, 'y'));
    QVERIFY(SafeFile::readAll(dir->filePath(QStringLiteral("small")), 16, &data, &error));
    QCOMPARE(data, QByteArray(16, 'y'));
}

QTEST_GUILESS_MAIN(TestSafeFile)
#include "TestSafeFile.moc"
