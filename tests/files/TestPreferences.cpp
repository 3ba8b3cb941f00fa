// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/Preferences.h"

#include "common/Files.h"
#include "common/GameFolder.h"
#include "common/WorkFolder.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#ifdef Q_OS_WIN
#include <windows.h>
#elif QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
#include <QTextCodec>
#endif

class TestPreferences : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void splitsLines_data();
    void splitsLines();
    void readsTheFilesLines_data();
    void readsTheFilesLines();
    void eachKeyTakesItsLastLine_data();
    void eachKeyTakesItsLastLine();
    void missingFileOrFolderInTheWayIsNotRead();
    void writesExactlyFourLines();
    void keepsAnyFolderName_data();
    void keepsAnyFolderName();

private:
    std::unique_ptr<WorkFolder> work;
};

void TestPreferences::init()
{
    work = std::make_unique<WorkFolder>();
    QVERIFY(work->isValid());
}

void TestPreferences::cleanup()
{
    work.reset();
#if !defined(Q_OS_WIN) && QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    QTextCodec::setCodecForLocale(nullptr);
#endif
}

void TestPreferences::splitsLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("split");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    QTest::newRow("plain") << "AODir = C:\\AO" << true << "AODir"
                           << "C:\\AO";
    QTest::newRow("empty value") << "BGColor = " << true << "BGColor"
                                 << "";
    QTest::newRow("trailing blanks stay") << "AODir = /ao  " << true << "AODir"
                                          << "/ao  ";
    QTest::newRow("value keeps a second separator") << "AODir = /AO = old" << true << "AODir"
                                                    << "/AO = old";
    QTest::newRow("no blanks") << "AODir=/ao" << false << ""
                               << "";
    QTest::newRow("bare key") << "BGColor" << false << ""
                              << "";
    QTest::newRow("blank before key") << " AODir = /ao" << true << " AODir"
                                      << "/ao";
    QTest::newRow("header") << "## Tintwell Configuration ##" << false << ""
                            << "";
    QTest::newRow("empty") << "" << false << ""
                           << "";
    QTest::newRow("only separator") << " = " << true << ""
                                    << "";
}

void TestPreferences::splitsLines()
{
    QFETCH(QString, line);
    QFETCH(bool, split);
    QFETCH(QString, key);
    QFETCH(QString, value);

    QString gotKey;
    QString gotValue;
    QCOMPARE(Preferences::splitLine(line, &gotKey, &gotValue), split);
    if (split) {
        QCOMPARE(gotKey, key);
        QCOMPARE(gotValue, value);
    }
}

void TestPreferences::readsTheFilesLines_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("every kind of line end")
        << QByteArray("## Tintwell Configuration ##\r\nAODir = /ao\r\nAdvancedMode = 1\rBGColor = "
                      "#00ff00\nlast")
        << QStringList{"## Tintwell Configuration ##", "AODir = /ao", "AdvancedMode = 1",
                       "BGColor = #00ff00", "last"};
    // A stray NUL must not hide the settings behind it.
    QTest::newRow("NUL byte") << QByteArray("## Tintwell") + '\0' +
                                     QByteArray(" Configuration ##\nAODir = /ao\nBGColor = red\n")
                              << QStringList{QStringLiteral("## Tintwell") + QChar(0) +
                                                 QStringLiteral(" Configuration ##"),
                                             "AODir = /ao", "BGColor = red"};
    QTest::newRow("empty file") << QByteArray() << QStringList();
    QTest::newRow("one line end") << QByteArray("\r\n") << QStringList();
    QTest::newRow("empty lines") << QByteArray("\n\r\n\rx\n") << QStringList{"", "", "", "x"};
    // Only the first mark says UTF-8; a second one is the file's own character.
    QTest::newRow("two byte order marks")
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFJ\n") << QStringList{QString(QChar(0xFEFF)) + 'J'};
}

// The list is filled beforehand: what it held must not survive the read.
void TestPreferences::readsTheFilesLines()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, lines);
    QFile out(Preferences::fileName());
    QVERIFY(out.open(QIODevice::WriteOnly));
    QCOMPARE(out.write(file), qint64(file.size()));
    out.close();

    QStringList read{QStringLiteral("stale")};
    QVERIFY(Preferences::readLines(&read));
    QCOMPARE(read, lines);
}

void TestPreferences::eachKeyTakesItsLastLine_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("hasAOPath");
    QTest::addColumn<QString>("aoPath");
    QTest::addColumn<bool>("advancedMode");
    QTest::addColumn<QString>("background");

    QTest::newRow("last line wins")
        << QByteArray("AODir = /a\nAdvancedMode = 1\nBGColor = red\nAODir = /b\n"
                      "AdvancedMode = 0\nBGColor = #00ff00\n")
        << true << "/b" << false << "#00ff00";
    QTest::newRow("no separator, other key, no number")
        << QByteArray("AODir=/a\nBGColor\nColour = red\nAdvancedMode = x\n") << false << "" << false
        << "black";
    QTest::newRow("empty folder is a folder line")
        << QByteArray("AODir = \nAdvancedMode = 2\n") << true << "" << true << "black";
}

void TestPreferences::eachKeyTakesItsLastLine()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, hasAOPath);
    QFETCH(QString, aoPath);
    QFETCH(bool, advancedMode);
    QFETCH(QString, background);
    put(Preferences::fileName(), file);

    Preferences::Values values;
    QVERIFY(Preferences::read(&values));
    QCOMPARE(values.hasAOPath, hasAOPath);
    QCOMPARE(values.aoPath, aoPath);
    QCOMPARE(values.advancedMode, advancedMode);
    QCOMPARE(values.background.value, background);
    QCOMPARE(values.background.name, QStringLiteral("Tintwell background"));
}

void TestPreferences::missingFileOrFolderInTheWayIsNotRead()
{
    QStringList lines;
    QVERIFY(!Preferences::readLines(&lines));
    // Far too large, and beyond the 2 GiB where Qt's readAll() gives nothing at all.
    QFile huge(Preferences::fileName());
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(2200) << 20));
    huge.close();
    QVERIFY(!Preferences::readLines(&lines));
    QVERIFY(huge.remove());
    QVERIFY(QDir().mkdir(Preferences::fileName()));
    QVERIFY(!Preferences::readLines(&lines));
    QVERIFY(lines.isEmpty());
    QVERIFY(!Preferences::write(QStringLiteral("/ao"), false, QStringLiteral("black")));
    QVERIFY(QFileInfo(Preferences::fileName()).isDir());
}

void TestPreferences::writesExactlyFourLines()
{
    QVERIFY(Preferences::write(QStringLiteral("/games/Anarchy Online"), true,
                               QStringLiteral("0x00ff00")));
    QFile file(Preferences::fileName());
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QCOMPARE(file.readAll(),
             GameFolder::preferencesNaming("/games/Anarchy Online",
                                           {"AdvancedMode = 1", "BGColor = 0x00ff00"}));
}

// Under code page 1252, the one of most players: Windows' own, Qt's codec of that
// name elsewhere. Qt 6 has no locale codec to set and writes UTF-8 on Linux.
void TestPreferences::keepsAnyFolderName_data()
{
    QTest::addColumn<bool>("marked");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("writtenSo");

    const QString jorg = QStringLiteral("C:\\J\u00f6rg M\u00fcller\\AO");
    QTest::newRow("code page 1252")
        << false << QByteArray("C:\\J\xF6rg M\xFCller\\AO") << jorg << true;
    QTest::newRow("Cyrillic") << true << QByteArray("C:\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B\\AO")
                              << QStringLiteral("C:\\\u0418\u0433\u0440\u044b\\AO") << true;
    QTest::newRow("Japanese") << true << QByteArray("C:\\\xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0\\AO")
                              << QStringLiteral("C:\\\u30b2\u30fc\u30e0\\AO") << true;
    // Code page bytes that would read as UTF-8 are not written as code page bytes.
    QTest::newRow("code page bytes that look like UTF-8")
        << true << QByteArray("C:\\\xC3\x83\xC2\xB6") << QStringLiteral("C:\\\u00c3\u00b6") << true;
    QTest::newRow("Notepad's UTF-8")
        << false << QByteArray("C:\\J\xC3\xB6rg M\xC3\xBCller\\AO") << jorg << false;
}

void TestPreferences::keepsAnyFolderName()
{
#ifdef Q_OS_WIN
    QCOMPARE(GetACP(), 1252u);
#elif QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("windows-1252"));
#else
    QSKIP("Qt 6 writes UTF-8 as the local encoding on Linux");
#endif
    QFETCH(bool, marked);
    QFETCH(QByteArray, stored);
    QFETCH(QString, folder);
    QFETCH(bool, writtenSo);
    const QByteArray file = (marked ? QByteArray("\xEF\xBB\xBF") : QByteArray()) +
                            textLines(GameFolder::preferencesNaming(stored));

    put(Preferences::fileName(), file);
    QStringList lines;
    QVERIFY(Preferences::readLines(&lines));
    QCOMPARE(lines.value(0), QStringLiteral("## Tintwell Configuration ##")); // no mark left
    QCOMPARE(lines.value(1), QStringLiteral("AODir = ") + folder);

    QVERIFY(Preferences::write(folder, false, QStringLiteral("black")));
    if (writtenSo)
        QCOMPARE(contents(Preferences::fileName()), file);
}

QTEST_GUILESS_MAIN(TestPreferences)
#include "TestPreferences.moc"
