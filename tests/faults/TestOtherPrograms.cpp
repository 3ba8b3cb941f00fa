// SPDX-License-Identifier: GPL-3.0-or-later
// The player's colour file is shared: the game, another program or a second Tintwell
// may rewrite it while Tintwell is open, the player may keep it behind a link or
// protect it. Each case runs on real files; the other program is a real process.
#include "app/BaseDlg.h"
#include "dialogs/Messages.h"
#include "files/ColorFile.h"
#include "model/AOColors.h"

#include "common/ColorTable.h"
#include "common/Files.h"
#include "common/Find.h"
#include "common/GameFolder.h"
#include "common/WorkFolder.h"
#include "faults/GameColors.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace
{

void clickSave(const BaseDlg& dialog)
{
    find<QPushButton>(&dialog, QStringLiteral("saveButton"))->click();
}

const QString changedQuestion = QStringLiteral(
    "TextColors.xml was changed by another program since Tintwell read it. Overwrite it?");

// Gives the table one changed colour, as a player's pick would.
void changeFirstColor(const QColor& color)
{
    AOColor first = aoColors.first();
    first.setColor(color);
    aoColors.update(first);
}

// Whether the bytes are the game's table as one save of a racing instance wrote it
// (its first colour names the instance), or the game's own file.
bool isOneSave(const QByteArray& data)
{
    if (data == gameColors)
        return true;
    const auto now = colorPairs(data);
    const auto game = colorPairs(gameColors);
    if (now.size() != game.size() || now.mid(1) != game.mid(1) || now[0].first != game[0].first)
        return false;
    AOColor first;
    first.setValue(now[0].second);
    const int instance = first.toQColor().red() >> 4;
    return instance == 1 || instance == 2;
}

} // namespace

class TestOtherPrograms : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void changedFileIsKeptAfterNo();
    void changedFileIsOverwrittenAfterYesAndKeptAsBackup();
    void sameBytesAskNothing();
    void writeProtectedFileIsNotReplaced();
    void linkedFilesStayLinks();
    void pipesNeverHoldUpASave();
    void pipeInPlaceOfPreferencesNeverHoldsUpStartUp();
    void twoInstancesSavingTogether();

private:
    QString colors(const QString& name = QStringLiteral("TextColors.xml")) const;
    QString work(const QString& name) const;
    QStringList strangers() const;
    int runOtherSave();
    int runScenario(const QString& operation);

    std::unique_ptr<WorkFolder> folder;
    QString root;
};

void TestOtherPrograms::init()
{
    folder = std::make_unique<WorkFolder>(QStringLiteral("work"));
    QVERIFY(folder->isValid());
    root = folder->path();
    const GameFolder game(root + QStringLiteral("/game"), gameColors);
    game.write(QStringLiteral("TextColors.xml.bak"), backupColors);
    game.write(QStringLiteral("TextColors.xml.orig"), originalColors);
    put(work(QStringLiteral("Tintwell.cfg")), game.preferences());
    Messages::clearAnswers();
}

void TestOtherPrograms::cleanup()
{
    folder.reset();
    QCOMPARE(Messages::pendingAnswers(), 0);
    Messages::clearAnswers();
}

QString TestOtherPrograms::colors(const QString& name) const
{
    return root + QStringLiteral("/game/cd_image/gui/default/") + name;
}

QString TestOtherPrograms::work(const QString& name) const
{
    return folder->work(name);
}

// Anything beside the files Tintwell keeps: a temporary file left behind.
QStringList TestOtherPrograms::strangers() const
{
    static const QStringList known = {
        QStringLiteral("TextColors.xml"), QStringLiteral("TextColors.xml.bak"),
        QStringLiteral("TextColors.xml.orig"), QStringLiteral("Tintwell.cfg")};
    QStringList found;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        // The colors Tintwell keeps of each install, in its own folder.
        const bool kept = it.fileInfo().dir().dirName() == QLatin1String("Kept colors") &&
                          QStringList{"xml", "state"}.contains(it.fileInfo().suffix());
        if (!known.contains(it.fileName()) && !kept)
            found << it.fileName();
    }
    return found;
}

// Another Tintwell, in a process of its own, saves a changed colour and closes.
int TestOtherPrograms::runOtherSave()
{
    return runScenario(QStringLiteral("save"));
}

int TestOtherPrograms::runScenario(const QString& operation)
{
    QProcess other;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    other.setProcessEnvironment(env);
    other.setWorkingDirectory(work(QString()));
    other.start(QStringLiteral(FAULT_SCENARIO), {operation, root + QStringLiteral("/game")});
    if (!other.waitForFinished(60000)) {
        other.kill();
        other.waitForFinished();
        return -1;
    }
    return other.exitStatus() == QProcess::NormalExit ? other.exitCode() : -2;
}

void TestOtherPrograms::changedFileIsKeptAfterNo()
{
    BaseDlg dialog;
    changeFirstColor(QColor(1, 2, 3));
    QCOMPARE(runOtherSave(), 0);
    const QByteArray theirs = contents(colors());
    QVERIFY(theirs != gameColors);
    QCOMPARE(contents(colors(QStringLiteral("TextColors.xml.bak"))), gameColors);

    Messages::answerNext(Messages::Answer::No);
    clickSave(dialog);
    QCOMPARE(Messages::takeShown(), QStringList{changedQuestion});
    QCOMPARE(contents(colors()), theirs);
    QCOMPARE(contents(colors(QStringLiteral("TextColors.xml.bak"))), gameColors);
    QCOMPARE(strangers(), QStringList());

    // Asked again on the next try: No decided nothing for later.
    Messages::answerNext(Messages::Answer::No);
    clickSave(dialog);
    QCOMPARE(Messages::takeShown(), QStringList{changedQuestion});
    QCOMPARE(contents(colors()), theirs);
}

void TestOtherPrograms::changedFileIsOverwrittenAfterYesAndKeptAsBackup()
{
    BaseDlg dialog;
    changeFirstColor(QColor(1, 2, 3));
    const auto mine = [] {
        QList<QPair<QString, QString>> list;
        for (const AOColor& color : qAsConst(aoColors))
            list.append({color.name, color.value});
        return list;
    }();
    QCOMPARE(runOtherSave(), 0);
    const QByteArray theirs = contents(colors());

    Messages::answerNext(Messages::Answer::Yes);
    clickSave(dialog);
    QCOMPARE(Messages::takeShown(), QStringList{changedQuestion});
    QCOMPARE(colorPairs(contents(colors())), mine);
    QCOMPARE(contents(colors(QStringLiteral("TextColors.xml.bak"))), theirs);

    // What this window wrote is what it knows: the next save asks nothing.
    const QByteArray saved = contents(colors());
    changeFirstColor(QColor(4, 5, 6));
    clickSave(dialog);
    QCOMPARE(Messages::takeShown(), QStringList());
    QCOMPARE(contents(colors(QStringLiteral("TextColors.xml.bak"))), saved);
    QCOMPARE(strangers(), QStringList());
}

// A program that only touched the file, or wrote the very same bytes, changed nothing
// that a save would lose.
void TestOtherPrograms::sameBytesAskNothing()
{
    BaseDlg dialog;
    changeFirstColor(QColor(1, 2, 3));
    {
        QFile file(colors());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                 QFileDevice::FileModificationTime));
    }
    clickSave(dialog);
    QCOMPARE(Messages::takeShown(), QStringList());
    QCOMPARE(contents(colors(QStringLiteral("TextColors.xml.bak"))), gameColors);

    // Same size, different bytes, within the same second: still a change.
    const QByteArray saved = contents(colors());
    QByteArray sameSize = saved;
    sameSize.replace("0x010203", "0x010204");
    QCOMPARE(sameSize.size(), saved.size());
    QVERIFY(sameSize != saved);
    const QDateTime modified = QFileInfo(colors()).lastModified();
    put(colors(), sameSize);
    {
        QFile file(colors());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
    }
    Messages::answerNext(Messages::Answer::No);
    clickSave(dialog);
    QCOMPARE(Messages::takeShown(), QStringList{changedQuestion});
    QCOMPARE(contents(colors()), sameSize);
}

void TestOtherPrograms::writeProtectedFileIsNotReplaced()
{
    BaseDlg dialog;
    changeFirstColor(QColor(1, 2, 3));
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    QVERIFY(QFile::setPermissions(colors(), readOnly));

    Messages::answerNext(Messages::Answer::Ok);
    clickSave(dialog);
    const QStringList shown = Messages::takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown[0].startsWith(QStringLiteral("The colors could not be saved. TextColors.xml "
                                                "is unchanged.")) &&
                 shown[0].contains(QStringLiteral("write-protected")),
             qPrintable(shown[0]));
    QCOMPARE(contents(colors()), gameColors);
    QCOMPARE(contents(colors(QStringLiteral("TextColors.xml.bak"))), backupColors);
    QCOMPARE(QFileInfo(colors()).permissions() & (readOnly | QFile::WriteOwner), readOnly);
    QCOMPARE(strangers(), QStringList());
}

// The player keeps the game's file and the preferences elsewhere and links to them;
// a save by a real Tintwell process replaces what the links lead to and keeps them.
void TestOtherPrograms::linkedFilesStayLinks()
{
    const QString kept = root + QStringLiteral("/kept/");
    put(kept + QStringLiteral("TextColors.xml"), gameColors);
    put(kept + QStringLiteral("Tintwell.cfg"), contents(work(QStringLiteral("Tintwell.cfg"))));
    QVERIFY(QFile::remove(colors()));
    QVERIFY(QFile::remove(work(QStringLiteral("Tintwell.cfg"))));
    QVERIFY(QFile::link(kept + QStringLiteral("TextColors.xml"), colors()));
    QVERIFY(
        QFile::link(QStringLiteral("../kept/Tintwell.cfg"), work(QStringLiteral("Tintwell.cfg"))));

    QCOMPARE(runOtherSave(), 0);
    QVERIFY(QFileInfo(colors()).isSymLink());
    QVERIFY(QFileInfo(work(QStringLiteral("Tintwell.cfg"))).isSymLink());
    const auto saved = colorPairs(contents(kept + QStringLiteral("TextColors.xml")));
    QCOMPARE(saved.size(), colorPairs(gameColors).size());
    QVERIFY(saved != colorPairs(gameColors));
    QCOMPARE(contents(colors(QStringLiteral("TextColors.xml.bak"))), gameColors);
    QVERIFY(!QFileInfo(colors(QStringLiteral("TextColors.xml.bak"))).isSymLink());
    QVERIFY(contents(kept + QStringLiteral("Tintwell.cfg")).contains("BGColor"));
    QCOMPARE(QDir(kept).entryList(QDir::Files | QDir::Hidden | QDir::System),
             (QStringList{QStringLiteral("TextColors.xml"), QStringLiteral("Tintwell.cfg")}));
    QCOMPARE(strangers(), QStringList());
}

// A pipe in place of the backup is replaced without being opened; a pipe in place of
// the colour file is refused. Neither keeps the window waiting for a writer.
void TestOtherPrograms::pipesNeverHoldUpASave()
{
#ifdef Q_OS_UNIX
    BaseDlg dialog;
    changeFirstColor(QColor(1, 2, 3));
    const QString backup = colors(QStringLiteral("TextColors.xml.bak"));
    QVERIFY(QFile::remove(backup));
    QVERIFY(::mkfifo(QFile::encodeName(backup).constData(), 0600) == 0);
    clickSave(dialog);
    QCOMPARE(Messages::takeShown(), QStringList());
    QCOMPARE(contents(backup), gameColors);

    QVERIFY(QFile::remove(colors()));
    QVERIFY(::mkfifo(QFile::encodeName(colors()).constData(), 0600) == 0);
    Messages::answerNext(Messages::Answer::Ok);
    clickSave(dialog);
    const QStringList shown = Messages::takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.at(0).contains(QStringLiteral("not a regular file")), qPrintable(shown.at(0)));
    QVERIFY(!QFileInfo(colors()).isFile());
    QCOMPARE(contents(backup), gameColors);
    QCOMPARE(strangers(), QStringList());
#else
    QSKIP("needs pipes in the file system");
#endif
}

// Start-up reads the preferences first; a pipe there is taken for a missing file (the
// player is asked for the folder) instead of waiting for a writer that never comes,
// and closing puts a real preferences file in its place.
void TestOtherPrograms::pipeInPlaceOfPreferencesNeverHoldsUpStartUp()
{
#ifdef Q_OS_UNIX
    const QString prefs = work(QStringLiteral("Tintwell.cfg"));
    QVERIFY(QFile::remove(prefs));
    QVERIFY(::mkfifo(QFile::encodeName(prefs).constData(), 0600) == 0);
    QCOMPARE(runScenario(QStringLiteral("resave")), 0);
    QVERIFY(QFileInfo(prefs).isFile());
    QVERIFY(contents(prefs).contains("AODir = " + (root + QStringLiteral("/game")).toUtf8()));
    QCOMPARE(contents(colors(QStringLiteral("TextColors.xml.orig"))), originalColors);
    QCOMPARE(strangers(), QStringList());
#else
    QSKIP("needs pipes in the file system");
#endif
}

// Two real Tintwell processes save one folder over and over while this test reads
// both files as often as it can: every read must find a whole file, each the table
// of one save, and nothing may be left behind. TINTWELL_RACE_SECONDS lengthens the
// run for a measurement.
void TestOtherPrograms::twoInstancesSavingTogether()
{
    const int seconds = qMax(1, qEnvironmentVariableIntValue("TINTWELL_RACE_SECONDS"));
    const int runFor = qEnvironmentVariableIsSet("TINTWELL_RACE_SECONDS") ? seconds : 3;
    QProcess instances[2];
    for (int i = 0; i < 2; ++i) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        // Each save's debug lines would bury the instances' own account.
        env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("default.debug=false"));
        instances[i].setProcessEnvironment(env);
        instances[i].setWorkingDirectory(work(QString()));
        instances[i].start(QStringLiteral(SAVE_RACE),
                           {QString::number(i + 1), QString::number(runFor)});
    }
    int reads = 0;
    QStringList broken;
    QElapsedTimer limit;
    limit.start();
    while (instances[0].state() != QProcess::NotRunning ||
           instances[1].state() != QProcess::NotRunning) {
        for (const QString& name :
             {QStringLiteral("TextColors.xml"), QStringLiteral("TextColors.xml.bak")}) {
            const QByteArray data = contents(colors(name));
            ++reads;
            if (!isOneSave(data) && !(name.endsWith(QLatin1String(".bak")) && data == backupColors))
                broken << name + QStringLiteral(":\n") + QString::fromUtf8(data);
        }
        for (QProcess& instance : instances)
            instance.waitForFinished(2);
        QVERIFY2(limit.elapsed() < (runFor + 120) * 1000, "the instances did not finish");
    }
    QString report;
    for (QProcess& instance : instances) {
        report += QString::fromLocal8Bit(instance.readAllStandardOutput() +
                                         instance.readAllStandardError());
        QCOMPARE(instance.exitStatus(), QProcess::NormalExit);
    }
    qInfo("%s%d reads of TextColors.xml and its backup while they saved, %d not whole",
          qPrintable(report), reads, int(broken.size()));
    QVERIFY2(broken.isEmpty(), qPrintable(broken.value(0)));
    for (QProcess& instance : instances)
        QVERIFY2(instance.exitCode() == 0, qPrintable(report));
    QVERIFY(isOneSave(contents(colors())) && contents(colors()) != gameColors);
    QVERIFY(isOneSave(contents(colors(QStringLiteral("TextColors.xml.bak")))));
    QCOMPARE(strangers(), QStringList());
    QVERIFY(contents(work(QStringLiteral("Tintwell.cfg"))).startsWith("## Tintwell"));
}

QTEST_MAIN(TestOtherPrograms)
#include "TestOtherPrograms.moc"
