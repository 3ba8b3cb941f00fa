// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Preferences.h"

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
    void readsEveryKindOfLineEnd();
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

    QTest::newRow("plain") << "AODir = C:\\AO" << true << "AODir" << "C:\\AO";
    QTest::newRow("empty value") << "BGColor = " << true << "BGColor" << "";
    QTest::newRow("trailing blanks stay") << "AODir = /ao  " << true << "AODir" << "/ao  ";
    QTest::newRow("second separator cuts") << "AODir = a = b" << true << "AODir" << "a";
    QTest::newRow("no blanks") << "AODir=/ao" << false << "" << "";
    QTest::newRow("bare key") << "BGColor" << false << "" << "";
    QTest::newRow("blank before key") << " AODir = /ao" << true << " AODir" << "/ao";
    QTest::newRow("header") << "## Tintwell Configuration ##" << false << "" << "";
    QTest::newRow("empty") << "" << false << "" << "";
    QTest::newRow("only separator") << " = " << true << "" << "";
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

void TestPreferences::readsEveryKindOfLineEnd()
{
    QFile file(Preferences::fileName());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("## Tintwell Configuration ##\r\nAODir = /ao\r\nAdvancedMode = 1\rBGColor = "
               "#00ff00\nlast");
    file.close();

    QStringList lines;
    QVERIFY(Preferences::readLines(&lines));
    QCOMPARE(lines, (QStringList{QStringLiteral("## Tintwell Configuration ##"),
                                 QStringLiteral("AODir = /ao"), QStringLiteral("AdvancedMode = 1"),
                                 QStringLiteral("BGColor = #00ff00"), QStringLiteral("last")}));
}

void TestPreferences::missingFileOrFolderInTheWayIsNotRead()
{
    QStringList lines;
    QVERIFY(!Preferences::readLines(&lines));
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
