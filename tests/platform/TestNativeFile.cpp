// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/NativeFile.h"

#include "common/Files.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

class TestNativeFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void moveReplacesTheTarget();
    void failedMoveKeepsBothFiles();
    void targetOpenWithoutShareDeleteIsNotReplaced();
    void syncReportsABadHandle();

private:
    std::unique_ptr<QTemporaryDir> dir;
    QString source;
    QString target;
};

void TestNativeFile::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    source = dir->filePath(QStringLiteral("new.tmp"));
    target = dir->filePath(QStringLiteral("TextColors.xml"));
    put(source, "new");
    put(target, "old");
}

void TestNativeFile::moveReplacesTheTarget()
{
    QString reason = QStringLiteral("untouched");
    QVERIFY(NativeFile::moveOver(source, target, &reason));
    QCOMPARE(reason, QStringLiteral("untouched"));
    QCOMPARE(contents(target), QByteArray("new"));
    QVERIFY(!QFile::exists(source));
}

void TestNativeFile::failedMoveKeepsBothFiles()
{
    QString reason;
    QVERIFY(!NativeFile::moveOver(dir->filePath(QStringLiteral("missing")), target, &reason));
    QVERIFY(!reason.isEmpty());
    QCOMPARE(contents(target), QByteArray("old"));
    // A target in a folder that does not exist.
    QVERIFY(!NativeFile::moveOver(source, dir->filePath(QStringLiteral("no/such/file")), &reason));
    QCOMPARE(contents(source), QByteArray("new"));
}

// The game may keep its colour file open while it runs, sharing reading and writing
// but not deletion; Windows then refuses to replace the file.
void TestNativeFile::targetOpenWithoutShareDeleteIsNotReplaced()
{
#ifdef Q_OS_WIN
    const HANDLE held = ::CreateFileW(reinterpret_cast<const wchar_t*>(target.utf16()),
                                      GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    QVERIFY(held != INVALID_HANDLE_VALUE);
    QString reason;
    const bool moved = NativeFile::moveOver(source, target, &reason);
    ::CloseHandle(held);
    QVERIFY(!moved);
    QVERIFY2(reason.contains(QLatin1String("(Windows error ")), qPrintable(reason));
    QCOMPARE(contents(target), QByteArray("old"));
    QCOMPARE(contents(source), QByteArray("new"));
#else
    QSKIP("share modes are a Windows matter");
#endif
}

void TestNativeFile::syncReportsABadHandle()
{
    QFile file(target);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QString reason;
    QVERIFY(NativeFile::syncToDisk(file.handle(), &reason));
    QVERIFY(reason.isEmpty());
    QVERIFY(!NativeFile::syncToDisk(-1, &reason));
    QVERIFY(!reason.isEmpty());
}

QTEST_GUILESS_MAIN(TestNativeFile)
#include "TestNativeFile.moc"
