// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include "Version.h"

#include <QtTest>

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void answersWithoutAWindow_data();
    void answersWithoutAWindow();
};

void TestCommandLine::answersWithoutAWindow_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("start"); // of the answer

    const QString version = QStringLiteral("Tintwell %1\n").arg(QLatin1String(Version::full));
    QTest::newRow("--version") << QStringList{"--version"} << 0 << version;
    QTest::newRow("-v") << QStringList{"-v"} << 0 << version;
    QTest::newRow("--help") << QStringList{"--help"} << 0 << QStringLiteral("Usage: ");
    QTest::newRow("-h") << QStringList{"-h"} << 0 << QStringLiteral("Usage: ");
    QTest::newRow("nothing: the window") << QStringList{} << -1 << QString();
    // Qt's own options hold the letters v and h; they go to the application object.
    QTest::newRow("-reverse -style fusion")
        << QStringList{"-reverse", "-style", "fusion"} << -1 << QString();
    QTest::newRow("an unknown option") << QStringList{"--unknown"} << -1 << QString();
}

void TestCommandLine::answersWithoutAWindow()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, start);

    QString out;
    QCOMPARE(CommandLine::answer(QStringList{QStringLiteral("tintwell")} + arguments, &out),
             status);
    QVERIFY2(out.startsWith(start) && out.isEmpty() == start.isEmpty(), qPrintable(out));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "TestCommandLine.moc"
