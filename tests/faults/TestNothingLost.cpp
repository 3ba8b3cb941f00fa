// SPDX-License-Identifier: GPL-3.0-or-later
// The player's files against the world: full disks, read-only folders, folders and
// links where files should be, a crash in the middle of a save, and hostile colour and
// preference files. Each case runs Tintwell's real start-up and file actions in a
// process of its own and checks that nothing was lost.
#include "files/ColorFile.h"
#include "model/AOColors.h"

#include "common/ColorTable.h"
#include "common/Files.h"
#include "common/GameFolder.h"
#include "common/Mounts.h"
#include "common/TestSizes.h"
#include "faults/GameColors.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace
{

// Files whose names the colour folder and the working folder never had.
QStringList strangers(const QString& root)
{
    return leftovers(root, {QStringLiteral("TextColors.xml"), QStringLiteral("TextColors.xml.bak"),
                            QStringLiteral("TextColors.xml.orig"), QStringLiteral("Tintwell.cfg"),
                            QStringLiteral("TextColors.orig"), QStringLiteral("filler")});
}

} // namespace

class TestNothingLost : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void fullDiskChangesNothing_data();
    void fullDiskChangesNothing();
    void readOnlyFolderChangesNothing_data();
    void readOnlyFolderChangesNothing();
    void oddThingsInPlaceOfFiles_data();
    void oddThingsInPlaceOfFiles();
    void killedSaveLeavesOldOrNewFile();
    void hostileColorFiles_data();
    void hostileColorFiles();
    void hostilePreferences_data();
    void hostilePreferences();

private:
    QString colors(const QString& name = QStringLiteral("TextColors.xml")) const;
    QString work(const QString& name) const;
    void makeTree(bool withPrefs = true);
    void start(QProcess* process, const QString& program, const QString& operation,
               int holdAt = -1);
    int run(const QString& program, const QString& operation, int killAfterMs = -1,
            int holdAt = -1);

    std::unique_ptr<QTemporaryDir> dir;
    QString root;
};

void TestNothingLost::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    root = dir->filePath(QStringLiteral("root"));
    QVERIFY(QDir().mkpath(root));
}

QString TestNothingLost::colors(const QString& name) const
{
    return root + QStringLiteral("/game/cd_image/gui/default/") + name;
}

QString TestNothingLost::work(const QString& name) const
{
    return root + QStringLiteral("/work/") + name;
}

void TestNothingLost::makeTree(bool withPrefs)
{
    const GameFolder game(root + QStringLiteral("/game"), gameColors);
    game.write(QStringLiteral("TextColors.xml.bak"), backupColors);
    game.write(QStringLiteral("TextColors.xml.orig"), originalColors);
    put(work(QStringLiteral("TextColors.orig")), originalColors);
    if (withPrefs)
        put(work(QStringLiteral("Tintwell.cfg")), game.preferences());
}

// Starts the program in the working folder. From a `holdAt` of 0 on, the fault shim logs
// every file operation below the root to "log"; from 1 on, it stops the program before
// that operation and makes the file "held".
void TestNothingLost::start(QProcess* process, const QString& program, const QString& operation,
                            int holdAt)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (holdAt >= 0) {
        env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(FAULTFS_LIBRARY));
        env.insert(QStringLiteral("FAULTFS_DIR"), root);
        env.insert(QStringLiteral("FAULTFS_LOG"), dir->filePath(QStringLiteral("log")));
        env.insert(QStringLiteral("FAULTFS_HOLD_AT"), QString::number(holdAt));
        env.insert(QStringLiteral("FAULTFS_HOLD_FILE"), dir->filePath(QStringLiteral("held")));
        env.insert(QStringLiteral("ASAN_OPTIONS"), env.value(QStringLiteral("ASAN_OPTIONS")) +
                                                       QStringLiteral(":verify_asan_link_order=0"));
    }
    process->setProcessEnvironment(env);
    process->setWorkingDirectory(work(QString()));
    process->start(program, {operation, root + QStringLiteral("/game")});
}

// Runs the program (see start()); -1 when it had to be stopped, -2 when it crashed,
// otherwise its exit status.
int TestNothingLost::run(const QString& program, const QString& operation, int killAfterMs,
                         int holdAt)
{
    QProcess process;
    start(&process, program, operation, holdAt);
    if (killAfterMs >= 0) {
        QTest::qWait(killAfterMs);
        // A pid of 0 would signal this whole process group.
        const qint64 pid = process.processId();
        if (process.state() != QProcess::Running || pid <= 0)
            return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        ::kill(pid_t(pid), SIGKILL);
        process.waitForFinished(30000);
        return -1;
    }
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
}

void TestNothingLost::fullDiskChangesNothing_data()
{
    QTest::addColumn<QString>("operation");
    QTest::newRow("save") << "save";
    QTest::newRow("restore backup") << "restoreBackup";
    QTest::newRow("restore bundled") << "restoreBundled";
    QTest::newRow("preferences") << "prefs";
}

void TestNothingLost::fullDiskChangesNothing()
{
    QFETCH(QString, operation);
    Tmpfs disk(root, 64);
    if (!disk.mounted)
        QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs (%1)").arg(disk.error)));
    makeTree();
    const QByteArray prefs = contents(work(QStringLiteral("Tintwell.cfg")));
    fillLeaving(root, 0);

    QCOMPARE(run(QStringLiteral(FAULT_SCENARIO), operation), 0);
    QCOMPARE(contents(colors()), gameColors);
    QCOMPARE(contents(colors(QStringLiteral("TextColors.xml.bak"))), backupColors);
    QCOMPARE(contents(work(QStringLiteral("Tintwell.cfg"))), prefs);
    QCOMPARE(strangers(root), QStringList());
}

void TestNothingLost::readOnlyFolderChangesNothing_data()
{
    QTest::addColumn<QString>("operation");
    QTest::newRow("save") << "save";
    QTest::newRow("restore backup") << "restoreBackup";
    QTest::newRow("restore original") << "restoreOriginal";
    QTest::newRow("restore bundled") << "restoreBundled";
}

void TestNothingLost::readOnlyFolderChangesNothing()
{
    QFETCH(QString, operation);
    makeTree();
    ReadOnlyBind readOnly(colors(QString()));
    if (!readOnly.mounted)
        QSKIP(qPrintable(QStringLiteral("cannot mount read-only (%1)").arg(readOnly.error)));

    QCOMPARE(run(QStringLiteral(FAULT_SCENARIO), operation), 0);
    QCOMPARE(contents(colors()), gameColors);
    QCOMPARE(contents(colors(QStringLiteral("TextColors.xml.bak"))), backupColors);
    QCOMPARE(contents(colors(QStringLiteral("TextColors.xml.orig"))), originalColors);
}

void TestNothingLost::oddThingsInPlaceOfFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("thing");
    QTest::addColumn<QString>("operation");

    for (const char* operation : {"save", "restoreBackup", "restoreOriginal"}) {
        for (const char* file : {"TextColors.xml", "TextColors.xml.bak", "TextColors.xml.orig"}) {
            for (const char* thing : {"folder", "dangling link"}) {
                // Without a colour file Tintwell cannot start in the folder at all.
                if (QByteArray(file) == "TextColors.xml" && QByteArray(thing) != "folder")
                    continue;
                QTest::addRow("%s: %s is a %s", operation, file, thing)
                    << file << thing << operation;
            }
        }
        QTest::addRow("%s: backup links to the colour file", operation)
            << "TextColors.xml.bak"
            << "link to TextColors.xml" << operation;
        for (const char* kept : {"TextColors.xml.bak", "TextColors.xml.orig"}) {
            QTest::addRow("%s: colour file links to %s", operation, kept)
                << "TextColors.xml" << QStringLiteral("link to %1").arg(QLatin1String(kept))
                << operation;
        }
    }
}

void TestNothingLost::oddThingsInPlaceOfFiles()
{
    QFETCH(QString, file);
    QFETCH(QString, thing);
    QFETCH(QString, operation);
    makeTree();
    const QString path = colors(file);
    QVERIFY(QFile::remove(path));
    if (thing == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(path + QStringLiteral("/inside")));
    } else if (thing == QLatin1String("dangling link")) {
        QVERIFY(QFile::link(colors(QStringLiteral("missing")), path));
    } else {
        QVERIFY(QFile::link(colors(thing.mid(8)), path));
    }

    QCOMPARE(run(QStringLiteral(FAULT_SCENARIO), operation), 0);

    if (thing == QLatin1String("folder"))
        QVERIFY2(QFileInfo::exists(path + QStringLiteral("/inside")), "the folder was removed");
    // The colour file is whole: the game's colours, still in the file or kept as the
    // backup by a save, or the complete source of a restore.
    const QByteArray now = contents(colors());
    const QByteArray backup = contents(colors(QStringLiteral("TextColors.xml.bak")));
    if (file != QLatin1String("TextColors.xml")) {
        const QByteArray source = operation == QLatin1String("restoreBackup")     ? backupColors
                                  : operation == QLatin1String("restoreOriginal") ? originalColors
                                                                                  : QByteArray();
        QVERIFY2(now == gameColors || backup == gameColors || now == source,
                 qPrintable(QString::fromUtf8("file:\n" + now + "\nbackup:\n" + backup)));
        QVERIFY(!colorPairs(now).isEmpty());
    }
    // Saved or restored through such a link, the backup or the one-time copy would be
    // overwritten: refused.
    if (file == QLatin1String("TextColors.xml") && thing.startsWith(QLatin1String("link to")))
        QCOMPARE(contents(colors(thing.mid(8))),
                 thing.endsWith(QLatin1String(".bak")) ? backupColors : originalColors);
    if (file == QLatin1String("TextColors.xml.bak") && thing.startsWith(QLatin1String("link")) &&
        operation == QLatin1String("save")) {
        QCOMPARE(backup, gameColors);
        QVERIFY(!QFileInfo(colors(QStringLiteral("TextColors.xml.bak"))).isSymLink());
    }
    if (file != QLatin1String("TextColors.xml.orig"))
        QCOMPARE(contents(colors(QStringLiteral("TextColors.xml.orig"))), originalColors);
    QCOMPARE(strangers(colors(QString())), QStringList());
}

void TestNothingLost::killedSaveLeavesOldOrNewFile()
{
    makeTree();
    const QByteArray large = generatedColorFile(largeFileEntries / 2);
    put(colors(), large);
    const auto before = colorPairs(large);

    // A first save keeps the colours in Tintwell's own folder (when the file is small
    // enough to keep), which every later start reads before it saves: the counted save
    // must make those reads as the held ones do.
    QCOMPARE(run(QStringLiteral(FAULT_SCENARIO), QStringLiteral("save")), 0);
    put(colors(), large);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(run(QStringLiteral(FAULT_SCENARIO), QStringLiteral("save"), -1, 0), 0);
    const int whole = int(timer.elapsed());
    const auto after = colorPairs(contents(colors()));
    QCOMPARE(after.size(), before.size());
    QVERIFY(after != before);
    // The save's two renames, by the numbers of their file operations.
    int backupRename = 0;
    int colorRename = 0;
    for (const QByteArray& line : contents(dir->filePath(QStringLiteral("log"))).split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.value(1) == "rename" && fields.value(2).endsWith("/TextColors.xml.bak"))
            backupRename = fields.value(0).toInt();
        if (fields.value(1) == "rename" && fields.value(2).endsWith("/TextColors.xml"))
            colorRename = fields.value(0).toInt();
    }
    QVERIFY(backupRename > 0 && colorRename > backupRename);

    // Killed for certain in the middle of the save: held before the backup's rename,
    // between the renames, and right after the new file's.
    const QString held = dir->filePath(QStringLiteral("held"));
    for (const int holdAt : {backupRename, colorRename, colorRename + 1}) {
        put(colors(), large);
        // The killed save's temporaries would be cleared by the next, one operation more
        // before its renames than counted above.
        QDir folder(colors(QString()));
        for (const QString& left : folder.entryList({QStringLiteral("*.tmp")}, QDir::Files))
            QVERIFY(folder.remove(left));
        QProcess scenario;
        start(&scenario, QStringLiteral(FAULT_SCENARIO), QStringLiteral("save"), holdAt);
        QTRY_VERIFY_WITH_TIMEOUT(
            QFileInfo::exists(held) || scenario.state() == QProcess::NotRunning, 60000);
        QVERIFY2(QFileInfo::exists(held), "the save never got there");
        scenario.kill();
        QVERIFY(scenario.waitForFinished(30000));
        QCOMPARE(scenario.exitStatus(), QProcess::CrashExit);
        QVERIFY(QFile::remove(held));
        QVERIFY(colorPairs(contents(colors())) == (holdAt > colorRename ? after : before));
    }

    // Kill at spread-out moments of a run; the save comes at its end.
    for (int step = 1; step <= 8; ++step) {
        put(colors(), large);
        // Killed, or finished just before the kill: either way the file must be whole.
        const int status =
            run(QStringLiteral(FAULT_SCENARIO), QStringLiteral("save"), whole * (4 + step) / 12);
        QVERIFY(status == -1 || status == 0);
        const auto now = colorPairs(contents(colors()));
        QVERIFY2(
            now == before || now == after,
            qPrintable(QStringLiteral("killed at step %1: %2 entries").arg(step).arg(now.size())));
    }
}

void TestNothingLost::hostileColorFiles_data()
{
    QTest::addColumn<QByteArray>("content");

    QByteArray laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE Root [\n<!ENTITY l0 \"lol\">\n";
    for (int i = 1; i < 10; ++i)
        laughs += "<!ENTITY l" + QByteArray::number(i) + " \"" +
                  QByteArray("&l" + QByteArray::number(i - 1) + ";").repeated(10) + "\">\n";
    laughs += "]>\n<Root><HTMLColor name=\"&l9;\" color=\"0x000000\"/></Root>\n";
    const QByteArray quadratic = "<?xml version=\"1.0\"?>\n<!DOCTYPE Root [<!ENTITY a \"" +
                                 QByteArray(40000, 'a') + "\">]>\n<Root><HTMLColor name=\"" +
                                 QByteArray("&a;").repeated(10000) + "\"/></Root>\n";
    // A declaration hidden in a parameter entity, behind a harmless one of the same
    // name, and a flood of declarations.
    const QByteArray hidden = "<!DOCTYPE Root [<!ENTITY % d \"<!ENTITY big '" +
                              QByteArray(50000, 'a') +
                              "'>\"> %d; <!ENTITY big \"b\">]><Root><HTMLColor name=\"" +
                              QByteArray("&big;").repeated(50000) + "\" color=\"x\"/></Root>";
    QByteArray declarations = "<!DOCTYPE Root [";
    for (int i = 0; i < 40000; ++i)
        declarations += "<!ENTITY e" + QByteArray::number(i) + " \"x\">";
    declarations += "]><Root><HTMLColor name=\"&e1;\" color=\"x\"/></Root>";
    QByteArray random(65536, '\0');
    QRandomGenerator generator(42);
    for (char& c : random)
        c = char(generator.bounded(256));
    QByteArray utf16 = "\xff\xfe";
    const QString text =
        QString::fromUtf8(gameColors)
            .replace(QStringLiteral("ctch_clan"), QStringLiteral("ctch_cl\u00e4n"));
    utf16 += QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);

    QTest::newRow("billion laughs") << laughs;
    QTest::newRow("quadratic expansion") << quadratic;
    QTest::newRow("hidden entity declaration") << hidden;
    QTest::newRow("40,000 entity declarations") << declarations;
    QTest::newRow("50,000 levels") << QByteArray("<a>").repeated(50000) + "</a>";
    QTest::newRow("large file") << generatedColorFile(largeFileEntries);
    QTest::newRow("random bytes") << random;
    QTest::newRow("NUL bytes") << QByteArray("<Root>\0\0<HTMLColor name=\"a\"/></Root>", 37);
    QTest::newRow("UTF-16 with byte-order mark") << utf16;
    QTest::newRow("names outside ASCII")
        << QByteArray("<Root><HTMLColor name=\"\xc3\xa9t\xc3\xa9\" color=\"0x0000ff\"/>"
                      "<HTMLColor name=\"\xe4\xb8\xad\" color=\"red\"/></Root>");
    QTest::newRow("tabs, line feeds, quotes, ampersands")
        << QByteArray("<Root><HTMLColor name=\"a&#9;b&#10;c\" color=\"&quot;x&amp;y'\"/>"
                      "<HTMLColor name='q\"' color=\"\t1\n2\"/></Root>");
    QTest::newRow("empty file") << QByteArray();
}

void TestNothingLost::hostileColorFiles()
{
    QFETCH(QByteArray, content);
    makeTree();
    put(colors(), content);

    QCOMPARE(run(QStringLiteral(FAULT_SCENARIO), QStringLiteral("resave")), 0);
    const QByteArray now = contents(colors());
    QVERIFY2(now == content || colorPairs(now) == colorPairs(content),
             "the colour file neither stayed as it was nor kept its entries");
    if (now != content)
        QCOMPARE(contents(colors(QStringLiteral("TextColors.xml.bak"))), content);
    QVERIFY(!colorPairs(now).isEmpty() || now == content);
}

void TestNothingLost::hostilePreferences_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("isFolder");
    QTest::addColumn<bool>("opens");

    QByteArray random(4096, '\0');
    QRandomGenerator generator(7);
    for (char& c : random)
        c = char(generator.bounded(256));
    // The game folder is known only when the test runs: it takes the place of @GAME@.
    const auto naming = [](const QByteArrayList& settings, const QByteArray& lineEnd = "\n") {
        return GameFolder::preferencesNaming("@GAME@", settings, lineEnd);
    };
    QTest::newRow("random bytes") << random << false << false;
    QTest::newRow("5 MB line") << naming({QByteArray(5 << 20, 'x'), "BGColor = red"}) << false
                               << true;
    QTest::newRow("CR LF") << naming({"AdvancedMode = 1", "BGColor = #00ff00"}, "\r\n") << false
                           << true;
    QTest::newRow("keys without separator")
        << naming({"AdvancedMode", "BGColor", "AODir"}) << false << true;
    QTest::newRow("folder named Tintwell.cfg") << QByteArray() << true << false;
}

void TestNothingLost::hostilePreferences()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, isFolder);
    QFETCH(bool, opens);
    makeTree(false);
    const QString prefs = work(QStringLiteral("Tintwell.cfg"));
    if (isFolder)
        QVERIFY(QDir().mkpath(prefs + QStringLiteral("/inside")));
    else
        put(prefs,
            QByteArray(content).replace("@GAME@", (root + QStringLiteral("/game")).toUtf8()));
    const QByteArray before = contents(prefs);

    if (!opens) {
        // The folder question comes; the player cancels it.
        QCOMPARE(run(QStringLiteral(STARTUP_PROBE), QString()), 255);
        QCOMPARE(contents(prefs), before);
        QCOMPARE(QFileInfo(prefs).isDir(), isFolder);
        return;
    }
    QCOMPARE(run(QStringLiteral(FAULT_SCENARIO), QStringLiteral("resave")), 0);
    const QList<QByteArray> lines = contents(prefs).split('\n');
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines.at(0), QByteArray("## Tintwell Configuration ##"));
    QCOMPARE(lines.at(1), "AODir = " + (root + QStringLiteral("/game")).toUtf8());
    QVERIFY(lines.at(4).isEmpty());
    QCOMPARE(colorPairs(contents(colors())), colorPairs(gameColors));
}

QTEST_GUILESS_MAIN(TestNothingLost)
#include "TestNothingLost.moc"
