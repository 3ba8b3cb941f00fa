// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/Preferences.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

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
    void missingFileOrFolderInTheWayIsNotRead();
    void writesExactlyFourLines();

private:
    std::unique_ptr<QTemporaryDir> dir;
    QString previous;
};

void TestPreferences::init()
{
    previous = QDir::currentPath();
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(dir->path()));
}

void TestPreferences::cleanup()
{
    QDir::setCurrent(previous);
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
    QTest::newRow("second separator cuts") << "AODir = a = b" << true << "AODir"
                                           << "a";
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
    QCOMPARE(QString::fromLocal8Bit(file.readAll()),
             QStringLiteral("## Tintwell Configuration ##\nAODir = /games/Anarchy Online\n"
                            "AdvancedMode = 1\nBGColor = 0x00ff00\n"));
}

QTEST_GUILESS_MAIN(TestPreferences)
#include "TestPreferences.moc"
