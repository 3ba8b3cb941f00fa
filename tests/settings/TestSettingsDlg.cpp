// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsDlg.h"

#include "app/BaseDlg.h"
#include "basic/BasicModeDlg.h"
#include "common/Files.h"
#include "common/GameFixture.h"
#include "common/GameFolder.h"
#include "common/Mounts.h"
#include "common/RealDialogs.h"
#include "dialogs/Choosers.h"
#include "dialogs/Messages.h"
#include "files/ColorFile.h"
#include "files/ColorFileWriter.h"
#include "files/ColorFolder.h"
#include "model/AOColors.h"
#include "settings/FolderPath.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <iterator>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace
{

QByteArray colorXml(const char* color)
{
    return QByteArray("<Root>\n    <HTMLColor name=\"ctch_clan\" color=\"") + color +
           "\" />\n</Root>\n";
}

const QString overwriteQuestion = QStringLiteral("File TextColors.xml.orig exists. Overwrite?");
const QString folderCaption =
    QStringLiteral("Select the folder where Anarchy Online is installed:");

void click(SettingsDlg& page, const QString& button)
{
    auto* widget = page.findChild<QPushButton*>(button);
    QVERIFY2(widget, qPrintable(button));
    widget->click();
}

// The page on the test's game folder, counting the reloads it asks the window for.
class GamePage : public SettingsDlg
{
public:
    explicit GamePage(const QString& game)
    {
        setAOPath(game);
        setLoadedFolder(ColorFolder::resolved(game));
    }

    QSignalSpy reloads{this, &SettingsDlg::reloadData};
};

// The three restore actions and the import: their buttons, the questions they ask and
// the files they read.
struct Source {
    const char* label;
    const char* button;
    const char* question; // none for the import, which asks for its file instead
    const char* file;
    bool inWorkFolder;
};

const Source sources[] = {
    {"last backup", "restoreBackupButton", "Restore last backup? All changes will be lost.",
     "TextColors.xml.bak", false},
    {"original data", "restoreOriginalButton", "Reload original data? All changes will be lost.",
     "TextColors.xml.orig", false},
    {"bundled file", "restoreBundledButton", "Reload original data? All changes will be lost.",
     "TextColors.orig", true},
    {"import", "importButton", nullptr, "shared-scheme.xml", true},
};
const Source& lastBackup = sources[0];

// Clicks a restore, answering its question, or the import, choosing `file`; a warning
// after either is answered with OK. False for the import.
bool readSource(SettingsDlg& page, const Source& source, const QString& file,
                Messages::Answer answer = Messages::Answer::Yes)
{
    const bool restore = source.question != nullptr;
    restore ? Messages::answerNext(answer) : Choosers::setNextFile(file);
    Messages::answerNext(Messages::Answer::Ok);
    click(page, QLatin1String(source.button));
    return restore;
}

} // namespace

class TestSettingsDlg : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void warningFollowsTypedText();
    void setModeEmitsOnceOrTwice();
    void checkAOPathAsksUntilValidOrCancelled_data();
    void checkAOPathAsksUntilValidOrCancelled();
    void browseOpensTheRealFolderDialog();
    void folderQuestionOpensWhereTheGameIs_data();
    void folderQuestionOpensWhereTheGameIs();
    void backgroundButtonSendsBackground();

    void reloadTouchesNoFile();
    void restoreFollowsTheAnswer_data();
    void restoreFollowsTheAnswer();
    void unreadableSourceWarnsAndChangesNothing_data();
    void unreadableSourceWarnsAndChangesNothing();
    void restoreBackupTwiceGivesTheSameFile();
    void restoreKeepsALinkedFileLinked();
    void restoreLeavesAWriteProtectedFileAlone();
    void readOnlyFolderNeverLosesTheFile();
    void bundledCopyDefinesEveryBasicName();
    void exportWritesTheTableButNeverTheGameFiles_data();
    void exportWritesTheTableButNeverTheGameFiles();
    void importNeverMakesAnUnreadableFile();

    void saveOriginalData_data();
    void saveOriginalData();
    void saveOriginalDataFailureIsReported();
    void firstStartMakesOrOffersTheCopy_data();
    void firstStartMakesOrOffersTheCopy();
    void laterStartMakesOnlyAMissingCopy();

private:
    QString sourcePath(const Source& source) const;
    QStringList colorFolderEntries() const;
    void addOriginalCopyRows();
    void prepareOriginalCopy(const QByteArray& existing, const QString& answer);
    void checkOriginalCopy(const QString& answer, const QByteArray& copy);

    std::unique_ptr<GameFixture> fixture;
    QString game;
    QString colorFolder;
    QString colorFile;
    QString backup;
    QString original;
};

// Each test runs in a fresh working folder beside a fresh game folder, so the
// bundled copy is looked up where the test put it and nowhere else, and starts from an
// empty colour table, whatever an earlier test left in it.
void TestSettingsDlg::init()
{
    aoColors.clear();
    fixture = std::make_unique<GameFixture>();
    QVERIFY(fixture->isValid());
    game = fixture->game().path();
    colorFolder = fixture->game().colorFolder();
    colorFile = fixture->game().file();
    backup = fixture->game().file(QStringLiteral("TextColors.xml.bak"));
    original = fixture->game().file(QStringLiteral("TextColors.xml.orig"));
    QCOMPARE(contents(colorFile), colorXml("0x40FF80"));
}

void TestSettingsDlg::cleanup()
{
    Messages::clearAnswers();
    QFile::setPermissions(colorFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    fixture.reset();
}

void TestSettingsDlg::warningFollowsTypedText()
{
    const QString game = GameFolder(fixture->path(QStringLiteral("AO"))).path();
    SettingsDlg page;
    auto* edit = page.findChild<QLineEdit*>(QStringLiteral("pathEdit"));
    auto* warning = page.findChild<QLabel*>(QStringLiteral("warningLabel"));
    auto* reload = page.findChild<QPushButton*>(QStringLiteral("reloadButton"));
    page.show();

    edit->clear();
    QTest::keyClicks(edit, game.left(game.size() - 1));
    QCOMPARE(page.aoPath(), game.left(game.size() - 1));
    QVERIFY(warning->isVisible());
    QVERIFY(!reload->isVisible());

    QTest::keyClicks(edit, game.right(1));
    QCOMPARE(page.aoPath(), game);
    QVERIFY(!warning->isVisible());
    QVERIFY(reload->isVisible());

    // A typed trailing separator stays: the suffix then follows it.
    QTest::keyClicks(edit, QStringLiteral("/"));
    QCOMPARE(page.aoPath(), game + QLatin1Char('/'));
    QVERIFY(!warning->isVisible());

    // Editing in the middle keeps the cursor where the player types.
    edit->setCursorPosition(1);
    QTest::keyClick(edit, Qt::Key_X);
    QCOMPARE(edit->cursorPosition(), 2);
    QVERIFY(warning->isVisible());
}

void TestSettingsDlg::setModeEmitsOnceOrTwice()
{
    SettingsDlg page;
    auto* box = page.findChild<QCheckBox*>(QStringLiteral("modeCheckBox"));
    QSignalSpy spy(&page, &SettingsDlg::modeChanged);

    page.setMode(false);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.takeFirst().at(0).toBool(), false);

    page.setMode(true);
    QCOMPARE(spy.count(), 2);
    QVERIFY(spy.at(0).at(0).toBool() && spy.at(1).at(0).toBool());
    QVERIFY(box->isChecked());
    spy.clear();

    box->click();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), false);
}

// A folder without the game is asked for until the player names one with it or
// cancels; a folder with the game is kept without a question. The answers go through
// the chooser seam: Windows' own folder dialog is no Qt widget.
void TestSettingsDlg::checkAOPathAsksUntilValidOrCancelled_data()
{
    QTest::addColumn<QString>("stored");      // the page's folder before
    QTest::addColumn<QStringList>("answers"); // queued for the questions; "" cancels
    QTest::addColumn<int>("asked");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("kept"); // the page's folder after

    QTest::newRow("valid folder, not asked") << "game" << QStringList{""} << 0 << true << "game";
    QTest::newRow("asked until valid") << "" << QStringList{"empty", "game"} << 2 << true << "game";
    QTest::newRow("cancelled") << "" << QStringList{"empty", ""} << 2 << false << "empty";
    // The preferences could not keep it: refused with the reason, and asked again.
    QTest::newRow("line break refused")
        << "" << QStringList{"broken", "game"} << 2 << true << "game";
}

void TestSettingsDlg::checkAOPathAsksUntilValidOrCancelled()
{
    QFETCH(QString, stored);
    QFETCH(QStringList, answers);
    QFETCH(int, asked);
    QFETCH(bool, valid);
    QFETCH(QString, kept);
    const QMap<QString, QString> folders{
        {QStringLiteral("game"), game},
        {QStringLiteral("empty"), fixture->path(QStringLiteral("empty"))},
        {QStringLiteral("broken"), fixture->path(QStringLiteral("AO\nold"))}};
    QVERIFY(QDir().mkpath(folders.value(QStringLiteral("empty"))));
    // An install on this computer would be offered before the folder last named.
    fixture->fakeHome();
    GamePage page(folders.value(stored));
    for (const QString& answer : answers) {
        Choosers::setNextFolder(folders.value(answer));
        // A folder that is no install, or one the preferences cannot keep, is refused
        // with a message before the question comes back.
        if (answer == QLatin1String("empty") || answer == QLatin1String("broken"))
            Messages::answerNext(Messages::Answer::Ok);
    }
    const bool refused = answers.contains(QStringLiteral("broken"));

    QCOMPARE(page.checkAOPath(), valid);
    const QStringList refusals = Messages::takeShown();
    QCOMPARE(refusals.size(),
             int(answers.count(QStringLiteral("empty")) + answers.count(QStringLiteral("broken"))));
    for (const QString& refusal : refusals)
        QVERIFY2(
            refusal.contains(QDir::toNativeSeparators("cd_image/gui/default/TextColors.xml")) ||
                (refused && refusal.contains(QLatin1String("line break"))),
            qPrintable(refusal));
    QCOMPARE(Choosers::pendingResults(), int(answers.size()) - asked);
    QCOMPARE(page.aoPath(),
             asked ? FolderPath::fromDialog(folders.value(kept)) : folders.value(kept));
    if (asked && !refused) {
        QCOMPARE(Choosers::lastFolderCaption(), folderCaption);
        // The second question opens where the first answer pointed.
        QCOMPARE(Choosers::lastFolderStart(),
                 FolderPath::fromDialog(folders.value(answers.first())));
    }
}

// The page's wiring to the real folder dialog: it opens over the page at the folder
// the page holds, and the folder the player types becomes the page's folder.
void TestSettingsDlg::browseOpensTheRealFolderDialog()
{
#ifdef Q_OS_WIN
    QSKIP("Windows' own folder dialog is no Qt widget to drive");
#endif
    const QString other = GameFolder(fixture->path(QStringLiteral("Other AO"))).path();
    GamePage page(game);
    page.show();
    QWidget* parent = nullptr;
    QString opened;
    RealDialogs::whenModal([&](QWidget* dialog) {
        parent = dialog->parentWidget();
        if (auto* files = qobject_cast<QFileDialog*>(dialog))
            opened = files->directory().absolutePath();
        RealDialogs::chooseFolder(dialog, other);
    });
    click(page, QStringLiteral("browseButton"));
    QCOMPARE(parent, &page);
    QCOMPARE(opened, game);
    QCOMPARE(page.aoPath(), QDir::toNativeSeparators(other));
    QVERIFY(!page.findChild<QLabel*>(QStringLiteral("warningLabel"))->isVisible());
}

// Where the folder question opens: a valid folder as it is; otherwise an install
// found on the computer (so OK takes it), else the folder last named if it exists,
// else home. The fake home holds a Wine prefix with the game when asked to.
void TestSettingsDlg::folderQuestionOpensWhereTheGameIs_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("wineInstall");
    QTest::addColumn<QString>("expected");

    QTest::newRow("valid folder") << "game" << true << "game";
    QTest::newRow("no folder, game in Wine") << "" << true << "wine";
    QTest::newRow("moved folder, game in Wine") << "gone" << true << "wine";
    QTest::newRow("folder without the game, nothing found") << "plain" << false << "plain";
    QTest::newRow("moved folder, nothing found") << "gone" << false << "home";
    QTest::newRow("nothing") << "" << false << "home";
}

void TestSettingsDlg::folderQuestionOpensWhereTheGameIs()
{
#ifdef Q_OS_WIN
    QSKIP("the fake home is a Linux one: Windows' home folder does not follow HOME");
#endif
    QFETCH(QString, stored);
    QFETCH(bool, wineInstall);
    QFETCH(QString, expected);
    const QString home = fixture->fakeHome();
    QVERIFY(QDir().mkpath(fixture->path(QStringLiteral("plain"))));
    const QString wine = home + QStringLiteral("/.wine/drive_c/Funcom/Anarchy Online");
    if (wineInstall)
        put(wine + QStringLiteral("/cd_image/gui/default/TextColors.xml"), "<Root/>");
    const QMap<QString, QString> folders{
        {QStringLiteral("game"), game},
        {QStringLiteral("wine"), wine},
        {QStringLiteral("plain"), fixture->path(QStringLiteral("plain"))},
        {QStringLiteral("gone"), fixture->path(QStringLiteral("gone"))},
        {QStringLiteral("home"), home},
        {QString(), QString()}};
    GamePage page(folders.value(stored));
    Choosers::setNextFolder(QString());
    page.askAOPath();
    QCOMPARE(Choosers::lastFolderStart(), folders.value(expected));
    QCOMPARE(Choosers::lastFolderCaption(), folderCaption);
}

void TestSettingsDlg::backgroundButtonSendsBackground()
{
    SettingsDlg page;
    QSignalSpy spy(&page, &SettingsDlg::pickColor);
    page.findChild<QPushButton*>(QStringLiteral("bgButton"))->click();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("background"));
}

QString TestSettingsDlg::sourcePath(const Source& source) const
{
    const QString name = QLatin1String(source.file);
    return source.inWorkFolder ? QDir::current().filePath(name) : colorFolder + name;
}

QStringList TestSettingsDlg::colorFolderEntries() const
{
    return QDir(colorFolder)
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

void TestSettingsDlg::reloadTouchesNoFile()
{
    put(backup, colorXml("0x000001"));
    const QStringList before = colorFolderEntries();
    const QDateTime modified = QFileInfo(colorFile).lastModified();
    GamePage page(game);

    Messages::answerNext(Messages::Answer::No);
    Messages::answerNext(Messages::Answer::Yes);
    click(page, QStringLiteral("reloadButton"));
    QCOMPARE(page.reloads.count(), 0);
    click(page, QStringLiteral("reloadButton"));
    QCOMPARE(page.reloads.count(), 1);

    const QString question = QStringLiteral("Reload saved data? All changes will be lost.");
    QCOMPARE(Messages::takeShown(), (QStringList{question, question}));
    QCOMPARE(colorFolderEntries(), before);
    QCOMPARE(contents(colorFile), colorXml("0x40FF80"));
    QCOMPARE(QFileInfo(colorFile).lastModified(), modified);
}

// Each restore asks first: Yes copies its source over the game's file and has the
// window reload it, No changes nothing.
// Through "link/..", where the link leads into another folder, the system's folder is
// restored, not the one the text names once ".." is taken away.
void TestSettingsDlg::restoreFollowsTheAnswer_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("throughLink");

    for (int source = 0; source < int(std::size(sources)); ++source) {
        for (bool yes : {true, false}) {
            if (sources[source].question)
                QTest::addRow("%s, %s", sources[source].label, yes ? "Yes" : "No")
                    << source << yes << false;
        }
    }
#ifndef Q_OS_WIN
    QTest::newRow("last backup, through link/..") << 0 << true << true;
    QTest::newRow("original data, through link/..") << 1 << true << true;
#endif
}

void TestSettingsDlg::restoreFollowsTheAnswer()
{
    QFETCH(int, source);
    QFETCH(bool, yes);
    QFETCH(bool, throughLink);
    const QString file = sourcePath(sources[source]);
    put(file, colorXml("0x123456"));
    const QStringList before = colorFolderEntries();
    // <T>/elsewhere/link -> <T>/sub, so <T>/elsewhere/link/../<game> is the game, while
    // the text without ".." names the decoy <T>/elsewhere/<game>.
    const QString name = QFileInfo(game).fileName();
    const GameFolder decoy(fixture->path(QStringLiteral("elsewhere/") + name));
    decoy.write(QLatin1String(sources[source].file), colorXml("0x666666"));
    QVERIFY(QDir().mkpath(fixture->path(QStringLiteral("sub"))));
    QVERIFY(QFile::link(fixture->path(QStringLiteral("sub")),
                        fixture->path(QStringLiteral("elsewhere/link"))));
    GamePage page(throughLink ? fixture->path(QStringLiteral("elsewhere/link/../")) + name : game);

    readSource(page, sources[source], file, yes ? Messages::Answer::Yes : Messages::Answer::No);

    QCOMPARE(Messages::takeShown(), QStringList{QLatin1String(sources[source].question)});
    QCOMPARE(Messages::pendingAnswers(), 1);
    QCOMPARE(page.reloads.count(), yes ? 1 : 0);
    QCOMPARE(contents(colorFile), colorXml(yes ? "0x123456" : "0x40FF80"));
    QCOMPARE(contents(file), colorXml("0x123456"));
    QCOMPARE(contents(decoy.file()), GameFolder::oneColor);
    if (!yes)
        QCOMPARE(colorFolderEntries(), before);
    for (const QString& entry : colorFolderEntries())
        QVERIFY2(entry.startsWith(QLatin1String("TextColors.xml")) && !entry.endsWith(".tmp"),
                 qPrintable(entry));
}

// Sources that are missing, no file, or no colour file: a warning that names the file
// and the reason, and TextColors.xml byte for byte as it was. Pipes and devices are
// refused without being waited on or read.
void TestSettingsDlg::unreadableSourceWarnsAndChangesNothing_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");

    const struct {
        const char* kind;
        const char* reason;
    } kinds[] = {
        {"missing", "there is no such file"},
        {"folder", "it is a folder"},
        {"dangling link", "a link to nothing"},
        {"empty", "it is not a color file"},
        {"garbage", "it is not a color file"},
        {"truncated", "it is not a color file"},
        {"no colours", "it holds no colors"},
        {"pipe", "it is not a regular file"},
        {"link to /dev/zero", "it is not a regular file"},
        {"too large", "it is larger than 33554432 bytes"},
    };
    for (int source = 0; source < int(std::size(sources)); ++source) {
        for (const auto& kind : kinds) {
            QTest::addRow("%s, %s", sources[source].label, kind.kind)
                << source << QString::fromLatin1(kind.kind) << QString::fromLatin1(kind.reason);
        }
    }
}

void TestSettingsDlg::unreadableSourceWarnsAndChangesNothing()
{
    QFETCH(int, source);
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const QString file = sourcePath(sources[source]);
    if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(file));
    } else if (kind == QLatin1String("dangling link")) {
#ifdef Q_OS_WIN
        QSKIP("a link made on Windows is a shortcut file, which the file system never follows");
#endif
        QVERIFY(QFile::link(fixture->path(QStringLiteral("gone")), file));
    } else if (kind == QLatin1String("empty")) {
        put(file, QByteArray());
    } else if (kind == QLatin1String("garbage")) {
        QByteArray garbage(4096, '\0');
        for (int i = 0; i < garbage.size(); ++i)
            garbage[i] = char(i * 7919 % 251);
        put(file, garbage);
    } else if (kind == QLatin1String("truncated")) {
        put(file, colorXml("0x123456").left(40));
    } else if (kind == QLatin1String("no colours")) {
        put(file, "<?xml version=\"1.0\"?>\n<Root><Color name=\"a\" color=\"red\"/></Root>\n");
    } else if (kind == QLatin1String("too large")) {
        // Sparse: the size is what counts, not the bytes.
        QFile large(file);
        QVERIFY(large.open(QIODevice::WriteOnly));
        QVERIFY(large.resize(ColorFileWriter::maxSize + 1));
    } else if (kind != QLatin1String("missing")) {
#ifdef Q_OS_UNIX
        if (kind == QLatin1String("pipe"))
            QVERIFY(::mkfifo(QFile::encodeName(file).constData(), 0600) == 0);
        else
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), file));
#else
        QSKIP("needs pipes and devices in the file system");
#endif
    }
    const QByteArray sourceBefore = QFileInfo(file).isFile() ? contents(file) : QByteArray();
    const QStringList before = colorFolderEntries();
    const QDateTime modified = QFileInfo(colorFile).lastModified();
    GamePage page(game);

    const bool restore = readSource(page, sources[source], file);

    QCOMPARE(Messages::pendingAnswers(), 0);
    const QStringList shown = Messages::takeShown();
    QCOMPARE(shown.size(), restore ? 2 : 1);
    const QString warning = shown.last();
    QVERIFY2(warning.contains(QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath())),
             qPrintable(warning));
    QVERIFY2(warning.contains(QLatin1String(restore ? "left as it was" : "No color was imported")),
             qPrintable(warning));
    QVERIFY2(warning.contains(reason), qPrintable(warning));
    QCOMPARE(contents(colorFile), colorXml("0x40FF80"));
    QCOMPARE(QFileInfo(colorFile).lastModified(), modified);
    QCOMPARE(colorFolderEntries(), before);
    if (QFileInfo(file).isFile())
        QCOMPARE(contents(file), sourceBefore);
    QCOMPARE(QFileInfo(file).isDir(), kind == QLatin1String("folder"));
    QCOMPARE(QFileInfo(file).isSymLink(), kind.contains(QLatin1String("link")));
    // A restore's reload still follows: it rereads the unchanged file.
    QCOMPARE(page.reloads.count(), restore ? 1 : 0);
}

void TestSettingsDlg::restoreKeepsALinkedFileLinked()
{
#ifdef Q_OS_WIN
    QSKIP("a link made on Windows is a shortcut file, which the file system never follows");
#endif
    const QString kept = fixture->path(QStringLiteral("kept/TextColors.xml"));
    put(kept, colorXml("0x40FF80"));
    QVERIFY(QFile::remove(colorFile));
    QVERIFY(QFile::link(kept, colorFile));
    put(backup, colorXml("0xABCDEF"));
    GamePage page(game);

    readSource(page, lastBackup, backup);
    QCOMPARE(Messages::takeShown().size(), 1);
    QVERIFY(QFileInfo(colorFile).isSymLink());
    QCOMPARE(contents(kept), colorXml("0xABCDEF"));
    QCOMPARE(QDir(QFileInfo(kept).path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("TextColors.xml")});
}

void TestSettingsDlg::restoreLeavesAWriteProtectedFileAlone()
{
    put(backup, colorXml("0xABCDEF"));
    QVERIFY(QFile::setPermissions(colorFile, QFile::ReadOwner | QFile::ReadGroup));
    const QStringList before = colorFolderEntries();
    GamePage page(game);

    readSource(page, lastBackup, backup);
    const QStringList shown = Messages::takeShown();
    QCOMPARE(shown.size(), 2);
    QVERIFY2(shown.at(1).contains(QLatin1String("left as it was")) &&
                 shown.at(1).contains(QLatin1String("write-protected")),
             qPrintable(shown.at(1)));
    QCOMPARE(contents(colorFile), colorXml("0x40FF80"));
    QCOMPARE(colorFolderEntries(), before);
    QCOMPARE(page.reloads.count(), 1);
}

void TestSettingsDlg::restoreBackupTwiceGivesTheSameFile()
{
    put(backup, colorXml("0xABCDEF"));
    GamePage page(game);

    Messages::answerNext(Messages::Answer::Yes);
    Messages::answerNext(Messages::Answer::Yes);
    click(page, QStringLiteral("restoreBackupButton"));
    QCOMPARE(contents(colorFile), colorXml("0xABCDEF"));
    put(colorFile, colorXml("0x111111"));
    click(page, QStringLiteral("restoreBackupButton"));
    QCOMPARE(Messages::pendingAnswers(), 0);
    QCOMPARE(Messages::takeShown().size(), 2);
    QCOMPARE(contents(colorFile), colorXml("0xABCDEF"));
    QCOMPARE(contents(backup), colorXml("0xABCDEF"));
}

// Where the colour folder cannot be written the restore fails and says so; where it
// can (an administrator ignores the folder's rights) it succeeds. Either way the
// player's file is whole at every moment.
void TestSettingsDlg::readOnlyFolderNeverLosesTheFile()
{
    put(backup, colorXml("0xABCDEF"));
    QVERIFY(QFile::setPermissions(colorFolder, QFile::ReadOwner | QFile::ExeOwner |
                                                   QFile::ReadGroup | QFile::ExeGroup));
    GamePage page(game);

    readSource(page, lastBackup, backup);

    const bool warned = Messages::takeShown().size() == 2;
    QCOMPARE(contents(colorFile), warned ? colorXml("0x40FF80") : colorXml("0xABCDEF"));
    QCOMPARE(page.reloads.count(), 1);
    const QStringList names = colorFolderEntries();
    QCOMPARE(names,
             (QStringList{QStringLiteral("TextColors.xml"), QStringLiteral("TextColors.xml.bak")}));
}

void TestSettingsDlg::bundledCopyDefinesEveryBasicName()
{
    QFile file(besideTest(QStringLiteral("TextColors.orig")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader reader(&file);
    QSet<QString> names;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement &&
            reader.name() == QLatin1String("HTMLColor"))
            names.insert(reader.attributes().value(QLatin1String("name")).toString());
    }
    QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));

    // The names the basic page really sends, one click on each of its 28 swatches.
    BasicModeDlg page;
    QSignalSpy spy(&page, &BasicModeDlg::pickColor);
    for (QPushButton* swatch : page.findChildren<QPushButton*>())
        swatch->click();
    QCOMPARE(spy.count(), 28);
    for (const QList<QVariant>& click : qAsConst(spy)) {
        for (const QString& name : click.at(0).toStringList())
            QVERIFY2(names.contains(name), qPrintable(name));
    }
}

// Export writes the table, unsaved picks included, to a file of the player's; the
// game's own three files are Save's alone, however the path reaches them: of the folder
// loaded or the one typed since, through links, "..", a bind mount or another spelling.
// Tintwell's bundled copy and what is no regular file are refused too.
void TestSettingsDlg::exportWritesTheTableButNeverTheGameFiles_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QString>("typed"); // the folder field's text, when not the game's

    QTest::newRow("new file") << "TextColors-scheme.xml" << true << "";
    QTest::newRow("over an existing file") << "existing.xml" << true << "";
    for (const char* own : {"TextColors.xml", "TextColors.xml.bak", "TextColors.xml.orig"})
        QTest::newRow(own) << QStringLiteral("game:") + QLatin1String(own) << false << "";
    QTest::newRow("a link to TextColors.xml") << "link" << false << "";
    for (const char* typed : {"", "other", "game2"})
        QTest::addRow("loaded folder's copy, field '%s'", typed)
            << "game:TextColors.xml.orig" << false << typed;
    QTest::newRow("typed folder's backup") << "game2:TextColors.xml.bak" << false << "game2";
    QTest::newRow("trailing dot and blank") << "game:TextColors.xml.orig. " << false << "";
    // Refused where the folder's file system takes it for the same name.
    QTest::newRow("other case") << "game:TEXTCOLORS.XML.ORIG" << true << "";
    QTest::newRow("through link/..") << "sub-link/../TextColors.xml.bak" << false << "";
    QTest::newRow("bind mount") << "alias/cd_image/gui/default/TextColors.xml.bak" << false << "";
    QTest::newRow("bundled copy") << "work/TextColors.orig" << false << "";
    QTest::newRow("pipe") << "pipe" << false << "";
    QTest::newRow("device") << "/dev/null" << false << "";
}

void TestSettingsDlg::exportWritesTheTableButNeverTheGameFiles()
{
    QFETCH(QString, target);
    QFETCH(QString, typed);
    QFETCH(bool, written);
    const QString game2 = fixture->path(QStringLiteral("game2"));
    const GameFolder second(game2);
    QString file = target;
    if (target.startsWith(QLatin1String("game")))
        file = (target.startsWith(QLatin1String("game2:")) ? second.colorFolder() : colorFolder) +
               target.mid(target.indexOf(QLatin1Char(':')) + 1);
    else if (!target.startsWith(QLatin1Char('/')))
        file = fixture->path(target);
    put(fixture->path(QStringLiteral("existing.xml")), "<Root/>\n");
    put(backup, colorXml("0x111111"));
    put(original, colorXml("0x333333"));
    put(fixture->path(QStringLiteral("work/TextColors.orig")), colorXml("0x222222"));
    std::unique_ptr<ReadOnlyBind> alias;
#ifdef Q_OS_WIN
    if (target == QLatin1String("link") || target.contains(QLatin1String("link/")) ||
        target == QLatin1String("pipe") || target.startsWith(QLatin1Char('/')) ||
        target.startsWith(QLatin1String("alias/")))
        QSKIP("no symbolic links, bind mounts, pipes or devices in Windows' folders");
#else
    if (target == QLatin1String("link"))
        QVERIFY(QFile::link(colorFile, file));
    if (target.startsWith(QLatin1String("sub-link"))) {
        QVERIFY(QDir(colorFolder).mkdir(QStringLiteral("sub")));
        QVERIFY(QFile::link(colorFolder + QStringLiteral("sub"), fixture->path("sub-link")));
    }
    if (target == QLatin1String("pipe"))
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    if (target.startsWith(QLatin1String("alias/"))) {
        QVERIFY(QDir(fixture->path(QString())).mkdir(QStringLiteral("alias")));
        alias = std::make_unique<ReadOnlyBind>(game, fixture->path(QStringLiteral("alias")));
        if (!alias->mounted)
            QSKIP(qPrintable(QStringLiteral("cannot bind-mount (%1)").arg(alias->error)));
    }
#endif
    // Where the folder ignores case the other spelling is the copy itself.
    if (target == QLatin1String("game:TEXTCOLORS.XML.ORIG"))
        written = !QFileInfo::exists(colorFolder + QStringLiteral("TEXTCOLORS.XML"));
    QVERIFY(ColorFile::load(colorFile, &aoColors));
    // An unsaved pick goes with the export.
    AOColor picked = aoColors.find(QStringLiteral("ctch_clan"));
    picked.setColor(QColor(1, 2, 3));
    aoColors.update(picked);
    const auto gameFiles = [&] {
        return QList<Snapshot>{snapshotFolder(colorFolder), snapshotFolder(second.colorFolder())};
    };
    const QList<Snapshot> before = gameFiles();
    GamePage page(game);
    if (!typed.isEmpty())
        page.setAOPath(fixture->path(typed));

    // A file of the player's is replaced after a Yes; the game's are never asked about.
    const bool replaced = written && QFileInfo::exists(file);
    if (replaced)
        Messages::answerNext(Messages::Answer::Yes);
    Choosers::setNextFile(file);
    Messages::answerNext(Messages::Answer::Ok);
    click(page, QStringLiteral("exportButton"));

    const QStringList shown = Messages::takeShown();
    QCOMPARE(Choosers::lastFileStart(),
             QDir::home().filePath(QStringLiteral("TextColors-scheme.xml")));
    // A successful export says where it wrote.
    QCOMPARE(shown.size(), written ? int(replaced) + 1 : 1);
    if (written) {
        QCOMPARE(contents(file), ColorFileWriter::toXml(aoColors));
        QVERIFY2(shown.last().endsWith(QDir::toNativeSeparators(file)), qPrintable(shown.last()));
    } else
        QVERIFY2(shown.value(0).startsWith(QLatin1String("The colors were not exported")),
                 qPrintable(shown.value(0)));
    if (!written || !target.startsWith(QLatin1String("game")))
        QCOMPARE(gameFiles(), before);
    QCOMPARE(contents(original), colorXml("0x333333"));
    QCOMPARE(contents(backup), colorXml("0x111111"));
    QCOMPARE(contents(fixture->path(QStringLiteral("work/TextColors.orig"))), colorXml("0x222222"));
    QVERIFY(target != QLatin1String("pipe") || !QFileInfo(file).isFile());
}

// Two schemes of 17 MB for two names each fit, but not together: the second is refused
// with the reason and the table is unchanged, so Save never writes what cannot be read.
void TestSettingsDlg::importNeverMakesAnUnreadableFile()
{
    put(colorFile, "<Root><HTMLColor name=\"a\" color=\"1\"/><HTMLColor name=\"b\" "
                   "color=\"2\"/></Root>");
    QVERIFY(ColorFile::load(colorFile, &aoColors));
    GamePage page(game);
    connect(&page, &SettingsDlg::applyScheme, [](const AOColors& scheme) {
        int shared = 0;
        int unknown = 0;
        aoColors.setValues(aoColors.schemeChanges(scheme, &shared, &unknown));
    });
    const QByteArray big(17 * 1000 * 1000, 'x');
    QStringList imported;
    for (const char* name : {"a", "b"}) {
        const QString scheme = fixture->path(QLatin1String(name) + QStringLiteral(".xml"));
        put(scheme,
            "<Root><HTMLColor name=\"" + QByteArray(name) + "\" color=\"" + big + "\"/></Root>");
        readSource(page, sources[3], scheme);
        imported << Messages::takeShown();
        Messages::clearAnswers();
    }
    QCOMPARE(imported.size(), 1);
    QVERIFY2(imported.first().contains(QLatin1String("could not be read again")),
             qPrintable(imported.first()));
    QCOMPARE(aoColors.find(QStringLiteral("a")).value.size(), big.size());
    QCOMPARE(aoColors.find(QStringLiteral("b")).value, QStringLiteral("2"));
    QVERIFY(ColorFile::fitsReader(aoColors));
}

// The one-time copy of the game's file is made where there is none, and over one
// only after the player's Yes.
void TestSettingsDlg::addOriginalCopyRows()
{
    QTest::addColumn<QByteArray>("existing");
    QTest::addColumn<QString>("answer"); // to the question whether to overwrite; "" for none
    QTest::addColumn<QByteArray>("copy");

    QTest::newRow("no copy yet") << QByteArray() << "" << colorXml("0x40FF80");
    QTest::newRow("copy exists, No") << colorXml("0x999999") << "No" << colorXml("0x999999");
    QTest::newRow("copy exists, Yes") << colorXml("0x999999") << "Yes" << colorXml("0x40FF80");
}

// Puts `existing` in the copy's place, queues the answer and an OK for a warning.
void TestSettingsDlg::prepareOriginalCopy(const QByteArray& existing, const QString& answer)
{
    if (!existing.isNull())
        put(original, existing);
    if (!answer.isEmpty())
        Messages::answerNext(answer == QLatin1String("Yes") ? Messages::Answer::Yes
                                                            : Messages::Answer::No);
    Messages::answerNext(Messages::Answer::Ok);
}

// What the player was asked, what the copy holds, and the game's file untouched.
void TestSettingsDlg::checkOriginalCopy(const QString& answer, const QByteArray& copy)
{
    QCOMPARE(Messages::pendingAnswers(), 1);
    QCOMPARE(Messages::takeShown(),
             answer.isEmpty() ? QStringList() : QStringList{overwriteQuestion});
    QCOMPARE(contents(original), copy);
    QCOMPARE(contents(colorFile), colorXml("0x40FF80"));
}

void TestSettingsDlg::saveOriginalData_data()
{
    addOriginalCopyRows();
}

void TestSettingsDlg::saveOriginalData()
{
    QFETCH(QByteArray, existing);
    QFETCH(QString, answer);
    QFETCH(QByteArray, copy);
    prepareOriginalCopy(existing, answer);
    GamePage page(game);

    // Only a No leaves the copy unmade.
    QCOMPARE(page.saveOriginalData(), answer != QLatin1String("No"));
    checkOriginalCopy(answer, copy);
    QCOMPARE(colorFolderEntries(), (QStringList{QStringLiteral("TextColors.xml"),
                                                QStringLiteral("TextColors.xml.orig")}));
}

// A failed first-run copy is told to the player with its reason; start-up goes on.
void TestSettingsDlg::saveOriginalDataFailureIsReported()
{
    GamePage page(game);
    Messages::answerNext(Messages::Answer::Yes);
    Messages::answerNext(Messages::Answer::Ok);
    Messages::answerNext(Messages::Answer::Ok);
    Messages::answerNext(Messages::Answer::Ok);

    // Something that is not a file in the copy's place is asked about and survives.
    QVERIFY(QDir().mkpath(original));
    QVERIFY(!page.saveOriginalData());
    QStringList shown = Messages::takeShown();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.first(), overwriteQuestion);
    QVERIFY2(shown.last().contains(QDir::toNativeSeparators(original) +
                                   QStringLiteral(": it is a folder")),
             qPrintable(shown.last()));
    QVERIFY(QFileInfo(original).isDir());
    QCOMPARE(contents(colorFile), colorXml("0x40FF80"));

    // Without the game's file there is nothing to copy, and nothing is made.
    QVERIFY(QDir().rmdir(original));
    QVERIFY(QFile::remove(colorFile));
    QVERIFY(!page.saveOriginalData());
    QCOMPARE(Messages::takeShown().size(), 1);
    QCOMPARE(Messages::pendingAnswers(), 1);
    QVERIFY(colorFolderEntries().isEmpty());
}

void TestSettingsDlg::firstStartMakesOrOffersTheCopy_data()
{
    addOriginalCopyRows();
}

void TestSettingsDlg::firstStartMakesOrOffersTheCopy()
{
    QFETCH(QByteArray, existing);
    QFETCH(QString, answer);
    QFETCH(QByteArray, copy);
    QVERIFY(!QFile::exists(QStringLiteral("Tintwell.cfg")));
    Choosers::setNextFolder(game);
    prepareOriginalCopy(existing, answer);

    BaseDlg dialog;

    QCOMPARE(Choosers::pendingResults(), 0);
    checkOriginalCopy(answer, copy);
}

void TestSettingsDlg::laterStartMakesOnlyAMissingCopy()
{
    fixture->writePreferences();
    Messages::answerNext(Messages::Answer::Yes);
    Choosers::setNextFolder(QString());
    {
        BaseDlg dialog;
    }
    // An install chosen after the first start gets its copy too, without a question.
    QCOMPARE(Messages::pendingAnswers(), 1);
    QCOMPARE(contents(original), contents(colorFile));

    put(original, colorXml("0x999999"));
    {
        BaseDlg dialog;
    }
    QCOMPARE(Messages::pendingAnswers(), 1);
    QCOMPARE(Choosers::pendingResults(), 1);
    QCOMPARE(contents(original), colorXml("0x999999"));
}

QTEST_MAIN(TestSettingsDlg)
#include "TestSettingsDlg.moc"
