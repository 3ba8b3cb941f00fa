// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/FolderPath.h"

#include <QtTest>

class TestFolderPath : public QObject
{
    Q_OBJECT

private slots:
    void storesChosenFolder_data();
    void storesChosenFolder();
};

void TestFolderPath::storesChosenFolder_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("stored");

    const int windows = int(FolderPath::Style::Windows);
    const int native = int(FolderPath::Style::Native);
    QTest::newRow("windows drive") << windows << "c:/Games/Anarchy Online"
                                   << "C:\\Games\\Anarchy Online";
    QTest::newRow("windows trailing") << windows << "d:/AO/"
                                      << "D:\\AO\\";
#ifdef Q_OS_WIN
    QTest::newRow("native") << native << "c:/Games/AO"
                            << "c:\\Games\\AO";
#else
    QTest::newRow("native keeps slashes and case")
        << native << "/home/player/.wine/drive_c/Games/AO"
        << "/home/player/.wine/drive_c/Games/AO";
    QTest::newRow("native lower case start") << native << "games/ao"
                                             << "games/ao";
#endif
}

void TestFolderPath::storesChosenFolder()
{
    QFETCH(int, style);
    QFETCH(QString, chosen);
    QFETCH(QString, stored);
    QCOMPARE(FolderPath::fromDialog(chosen, FolderPath::Style(style)), stored);
}

QTEST_GUILESS_MAIN(TestFolderPath)
#include "TestFolderPath.moc"
