// SPDX-License-Identifier: GPL-3.0-or-later
// Fails every file operation of each of Tintwell's file actions in turn, one per
// run, and checks after each run that every file is whole: each holds either what it
// held before or what it holds after an undisturbed run, and no temporary file is left.
#include "common/Files.h"
#include "common/GameFolder.h"
#include "faults/GameColors.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

// The files an action may touch, relative to the tree's root.
const QStringList watchedFiles = {
    QStringLiteral("game/cd_image/gui/default/TextColors.xml"),
    QStringLiteral("game/cd_image/gui/default/TextColors.xml.bak"),
    QStringLiteral("game/cd_image/gui/default/TextColors.xml.orig"),
    QStringLiteral("work/Tintwell.cfg"),
    QStringLiteral("work/TextColors.orig"),
};

Snapshot snapshot(const QString& root)
{
    return snapshot(root, watchedFiles);
}

QStringList leftovers(const QString& root)
{
    return leftovers(root, watchedFiles);
}

} // namespace

class TestFaultInjection : public QObject
{
    Q_OBJECT

private slots:
    void everyFailureLeavesWholeFiles_data();
    void everyFailureLeavesWholeFiles();
    void anOutsideWriteIsNeverLost();

private:
    void makeTree(const QString& root, bool withPrefs, bool withOriginal);
    int run(const QString& root, const QString& operation, int failAt, const QString& answer,
            int* operations, const QByteArray& outsideWrite = QByteArray(),
            QByteArray* shown = nullptr);
};

void TestFaultInjection::makeTree(const QString& root, bool withPrefs, bool withOriginal)
{
    const GameFolder game(root + QStringLiteral("/game"), gameColors);
    game.write(QStringLiteral("TextColors.xml.bak"), backupColors);
    if (withOriginal)
        game.write(QStringLiteral("TextColors.xml.orig"), originalColors);
    put(root + QStringLiteral("/work/TextColors.orig"), bundledColors);
    if (withPrefs)
        put(root + QStringLiteral("/work/Tintwell.cfg"), game.preferences());
}

// With `outsideWrite`, nothing fails: another program writes it over the colour file
// just before operation `failAt`.
// `shown` receives the texts of the boxes the scenario answered.
int TestFaultInjection::run(const QString& root, const QString& operation, int failAt,
                            const QString& answer, int* operations, const QByteArray& outsideWrite,
                            QByteArray* shown)
{
    QProcess scenario;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(FAULTFS_LIBRARY));
    env.insert(QStringLiteral("FAULTFS_DIR"), root);
    env.insert(outsideWrite.isEmpty() ? QStringLiteral("FAULTFS_FAIL_AT")
                                      : QStringLiteral("FAULTFS_WRITE_AT"),
               QString::number(failAt));
    env.insert(QStringLiteral("FAULTFS_WRITE_FILE"), root + QLatin1Char('/') + watchedFiles[0]);
    env.insert(QStringLiteral("FAULTFS_WRITE_DATA"), QString::fromUtf8(outsideWrite));
    env.insert(QStringLiteral("FAULTFS_COUNT"), root + QStringLiteral(".count"));
    env.insert(QStringLiteral("FAULTFS_LOG"), root + QStringLiteral(".log"));
    env.insert(QStringLiteral("SCENARIO_ANSWER"), answer);
    // A sanitizer build wants its runtime first; the shim may stand before it.
    env.insert(QStringLiteral("ASAN_OPTIONS"), env.value(QStringLiteral("ASAN_OPTIONS")) +
                                                   QStringLiteral(":verify_asan_link_order=0"));
    scenario.setProcessEnvironment(env);
    scenario.setWorkingDirectory(root + QStringLiteral("/work"));
    scenario.start(QStringLiteral(FAULT_SCENARIO), {operation, root + QStringLiteral("/game")});
    if (!scenario.waitForFinished(60000)) {
        scenario.kill();
        return -1;
    }
    QFile count(root + QStringLiteral(".count"));
    if (operations && count.open(QIODevice::ReadOnly))
        *operations = count.readAll().trimmed().toInt();
    QFile::remove(root + QStringLiteral(".count"));
    if (shown)
        *shown = scenario.readAllStandardOutput();
    if (scenario.exitStatus() != QProcess::NormalExit)
        return -2;
    return scenario.exitCode();
}

void TestFaultInjection::everyFailureLeavesWholeFiles_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<bool>("withPrefs");
    QTest::addColumn<bool>("withOriginal");
    QTest::addColumn<QString>("answer");
    // Empty: every operation fails in turn. Otherwise only the sync of the colour folder
    // after the new file's rename fails, and the player is told this.
    QTest::addColumn<QString>("reported");

    QTest::newRow("save") << "save" << true << true << "no" << QString();
    QTest::newRow("restore backup") << "restoreBackup" << true << true << "no" << QString();
    QTest::newRow("restore original") << "restoreOriginal" << true << true << "no" << QString();
    QTest::newRow("restore bundled") << "restoreBundled" << true << true << "no" << QString();
    QTest::newRow("first start copy") << "firstStart" << false << false << "no" << QString();
    QTest::newRow("first start overwrite") << "firstStart" << false << true << "yes" << QString();
    QTest::newRow("preferences") << "prefs" << true << true << "no" << QString();
    QTest::newRow("save, folder sync fails")
        << "save" << true << true << "no"
        << "saved, but the system could not confirm it is on disk";
    // The restored file is in place: the player is not told it was left as it was.
    QTest::newRow("restore backup, folder sync fails") << "restoreBackup" << true << true << "no"
                                                       << "was restored, but it may not be on disk";
}

void TestFaultInjection::everyFailureLeavesWholeFiles()
{
    QFETCH(QString, operation);
    QFETCH(bool, withPrefs);
    QFETCH(bool, withOriginal);
    QFETCH(QString, answer);
    QFETCH(QString, reported);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString clean = dir.filePath(QStringLiteral("clean"));
    makeTree(clean, withPrefs, withOriginal);
    const Snapshot before = snapshot(clean);
    int operations = 0;
    QCOMPARE(run(clean, operation, 0, answer, &operations), 0);
    const Snapshot after = snapshot(clean);
    QVERIFY2(before != after, "the undisturbed action changed no file");
    QVERIFY2(leftovers(clean).isEmpty(), qPrintable(leftovers(clean).join(QLatin1Char(' '))));
    QVERIFY(operations > 0);
    if (!reported.isEmpty()) {
        int sync = 0;
        bool renamed = false;
        for (const QByteArray& line : contents(clean + QStringLiteral(".log")).split('\n')) {
            renamed = renamed || (line.contains(" rename ") && line.endsWith("/TextColors.xml"));
            if (renamed && !sync && line.contains(" fsync"))
                sync = line.split(' ').first().toInt();
        }
        QVERIFY(sync > 0);
        const QString root = dir.filePath(QStringLiteral("fail-folder-sync"));
        makeTree(root, withPrefs, withOriginal);
        QByteArray shown;
        QCOMPARE(run(root, operation, sync, answer, nullptr, QByteArray(), &shown), 0);
        QVERIFY2(shown.contains(reported.toUtf8()), shown.constData());
        const QString colors = QStringLiteral("game/cd_image/gui/default/TextColors.xml");
        QCOMPARE(snapshot(root)[colors], after[colors]);
        return;
    }
    qInfo("%s: %d file operations, each failed in turn", qPrintable(operation), operations);

    for (int k = 1; k <= operations; ++k) {
        const QString root = dir.filePath(QStringLiteral("fail-%1").arg(k));
        makeTree(root, withPrefs, withOriginal);
        // Paths differ between trees only in the root, which the preferences name.
        Snapshot expectedBefore = snapshot(root);
        Snapshot expectedAfter = after;
        const QString cfg = QStringLiteral("work/Tintwell.cfg");
        expectedAfter[cfg].replace(clean.toUtf8(), root.toUtf8());

        const int status = run(root, operation, k, answer, nullptr);
        QVERIFY2(status == 0, qPrintable(QStringLiteral("operation %1 of %2: status %3")
                                             .arg(k)
                                             .arg(operations)
                                             .arg(status)));
        const Snapshot now = snapshot(root);
        for (const QString& name : watchedFiles) {
            QVERIFY2(now[name] == expectedBefore[name] || now[name] == expectedAfter[name],
                     qPrintable(QStringLiteral("operation %1 of %2 left %3 as:\n%4")
                                    .arg(k)
                                    .arg(operations)
                                    .arg(name, QString::fromUtf8(now[name]))));
        }
        const QString colors = QStringLiteral("game/cd_image/gui/default/TextColors.xml");
        if (operation == QLatin1String("save") && now[colors] == expectedAfter[colors])
            QCOMPARE(now[colors + QStringLiteral(".bak")], expectedBefore[colors]);
        QVERIFY2(leftovers(root).isEmpty(),
                 qPrintable(QStringLiteral("operation %1 left %2")
                                .arg(k)
                                .arg(leftovers(root).join(QLatin1Char(' ')))));
    }
}

// Another program writes the colour file before each file operation of a save in turn;
// whatever it wrote ends up in TextColors.xml, or in TextColors.xml.bak once the
// question about the change was answered Yes, and never nowhere.
void TestFaultInjection::anOutsideWriteIsNeverLost()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray outside = "<Root><HTMLColor name=\"ctch_clan\" color=\"0x0BADED\"/></Root>\n";
    int operations = 0;
    const QString clean = dir.filePath(QStringLiteral("clean"));
    makeTree(clean, true, true);
    QCOMPARE(run(clean, QStringLiteral("save"), 0, QStringLiteral("no"), &operations), 0);
    // What is left: the two renames that put the backup and the new file in place.
    QList<int> renames;
    for (const QByteArray& line : contents(clean + QStringLiteral(".log")).split('\n')) {
        if (line.contains(" rename ") && line.contains("/TextColors.xml"))
            renames << line.split(' ').first().toInt();
    }
    QCOMPARE(renames.size(), 2);
    for (int k = 1; k <= operations; ++k) {
        if (renames.contains(k))
            continue;
        const QString root = dir.filePath(QStringLiteral("write-%1").arg(k));
        makeTree(root, true, true);
        QCOMPARE(run(root, QStringLiteral("save"), k, QStringLiteral("no"), nullptr, outside), 0);
        const Snapshot now = snapshot(root);
        QVERIFY2(
            now[watchedFiles[0]] == outside || now[watchedFiles[1]] == outside,
            qPrintable(
                QStringLiteral("written before operation %1 of %2, lost").arg(k).arg(operations)));
        QCOMPARE(leftovers(root), QStringList());
    }
}

QTEST_GUILESS_MAIN(TestFaultInjection)
#include "TestFaultInjection.moc"
