// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsDlg.h"

#include "app/BaseDlg.h"
#include "basic/BasicModeDlg.h"
#include "common/Files.h"
#include "common/GameFixture.h"
#include "common/RealDialogs.h"
#include "dialogs/Choosers.h"
#include "dialogs/Messages.h"
#include "files/ColorFile.h"
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
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

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

void click(SettingsDlg& page, const QString& button)
{
    auto* widget = page.findChild<QPushButton*>(button);
    QVERIFY2(widget, qPrintable(button));
    widget->click();
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
    void checkAOPathAsksUntilValidOrCancelled();
    void checkAOPathAcceptsValidFolderWithoutAsking();
    void browseOpensTheRealFolderDialog();
    void folderQuestionOpensWhereTheGameIs_data();
    void folderQuestionOpensWhereTheGameIs();
    void backgroundButtonSendsBackground();

    void reloadTouchesNoFile();
    void restoreCopiesSourceAfterYes_data();
    void restoreCopiesSourceAfterYes();
    void restoreChangesNothingAfterNo_data();
    void restoreChangesNothingAfterNo();
    void unusableSourceKeepsFileAndSaysSo_data();
    void unusableSourceKeepsFileAndSaysSo();
    void brokenSourceWarnsAndChangesNothing_data();
    void brokenSourceWarnsAndChangesNothing();
    void restoreBackupTwiceGivesTheSameFile();
    void restoreKeepsALinkedFileLinked();
    void restoreLeavesAWriteProtectedFileAlone();
    void readOnlyFolderNeverLosesTheFile();
    void bundledCopyDefinesEveryBasicName();
    void exportWritesTheTableButNeverTheGameFiles_data();
    void exportWritesTheTableButNeverTheGameFiles();

    void saveOriginalData_data();
    void saveOriginalData();
    void saveOriginalDataFailsQuietly();
    void firstStartMakesOrOffersTheCopy_data();
    void firstStartMakesOrOffersTheCopy();
    void laterStartMakesNoCopy();

private:
    void addRestoreRows();
    QString sourcePath(const QString& name, bool inWorkFolder) const;
    QStringList colorFolderEntries() const;

    std::unique_ptr<GameFixture> fixture;
    QString game;
    QString colorFolder;
    QString colorFile;
};

// Each test runs in a fresh working folder beside a fresh game folder, so the
// bundled copy is looked up where the test put it and nowhere else.
void TestSettingsDlg::init()
{
    fixture = std::make_unique<GameFixture>();
    QVERIFY(fixture->isValid());
    game = fixture->game().path();
    colorFolder = fixture->game().colorFolder();
    colorFile = fixture->game().file();
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

void TestSettingsDlg::checkAOPathAsksUntilValidOrCancelled()
{
    const QString empty = fixture->path(QStringLiteral("empty"));
    QVERIFY(QDir().mkpath(empty));
    const QString caption = QStringLiteral("Select the folder where Anarchy Online is installed:");

    // Answered through the chooser seam: Windows' own folder dialog is no Qt widget.
    {
        SettingsDlg page;
        Choosers::setNextFolder(empty);
        Choosers::setNextFolder(game);
        QVERIFY(page.checkAOPath());
        QCOMPARE(Choosers::pendingResults(), 0);
        QCOMPARE(page.aoPath(), FolderPath::fromDialog(game));
        QCOMPARE(Choosers::lastFolderCaption(), caption);
        // The second question opens where the first answer pointed.
        QCOMPARE(Choosers::lastFolderStart(), FolderPath::fromDialog(empty));
    }
    {
        SettingsDlg page;
        Choosers::setNextFolder(empty);
        Choosers::setNextFolder(QString());
        QVERIFY(!page.checkAOPath());
        QCOMPARE(Choosers::pendingResults(), 0);
        QCOMPARE(page.aoPath(), FolderPath::fromDialog(empty));
    }
}

void TestSettingsDlg::checkAOPathAcceptsValidFolderWithoutAsking()
{
    const QString game = GameFolder(fixture->path(QStringLiteral("AO"))).path();
    SettingsDlg page;
    page.setAOPath(game);
    Choosers::setNextFolder(QString());
    QVERIFY(page.checkAOPath());
    QCOMPARE(Choosers::pendingResults(), 1);
}

// The page's wiring to the real folder dialog: it opens over the page at the folder
// the page holds, and the folder the player types becomes the page's folder.
void TestSettingsDlg::browseOpensTheRealFolderDialog()
{
#ifdef Q_OS_WIN
    QSKIP("Windows' own folder dialog is no Qt widget to drive");
#endif
    const QString other = GameFolder(fixture->path(QStringLiteral("Other AO"))).path();
    SettingsDlg page;
    page.setAOPath(game);
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
    SettingsDlg page;
    page.setAOPath(folders.value(stored));
    Choosers::setNextFolder(QString());
    page.askAOPath();
    QCOMPARE(Choosers::lastFolderStart(), folders.value(expected));
    QCOMPARE(Choosers::lastFolderCaption(),
             QStringLiteral("Select the folder where Anarchy Online is installed:"));
}

void TestSettingsDlg::backgroundButtonSendsBackground()
{
    SettingsDlg page;
    QSignalSpy spy(&page, &SettingsDlg::pickColor);
    page.findChild<QPushButton*>(QStringLiteral("bgButton"))->click();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("background"));
}

QString TestSettingsDlg::sourcePath(const QString& name, bool inWorkFolder) const
{
    return inWorkFolder ? QDir::current().filePath(name) : colorFolder + name;
}

QStringList TestSettingsDlg::colorFolderEntries() const
{
    return QDir(colorFolder)
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

void TestSettingsDlg::reloadTouchesNoFile()
{
    put(colorFolder + QStringLiteral("TextColors.xml.bak"), colorXml("0x000001"));
    const QStringList before = colorFolderEntries();
    const QDateTime modified = QFileInfo(colorFile).lastModified();
    SettingsDlg page;
    page.setAOPath(game);
    QSignalSpy spy(&page, &SettingsDlg::reloadData);

    Messages::answerNext(Messages::Answer::No);
    Messages::answerNext(Messages::Answer::Yes);
    click(page, QStringLiteral("reloadButton"));
    QCOMPARE(spy.count(), 0);
    click(page, QStringLiteral("reloadButton"));
    QCOMPARE(spy.count(), 1);

    const QString question = QStringLiteral("Reload saved data? All changes will be lost.");
    QCOMPARE(Messages::takeShown(), (QStringList{question, question}));
    QCOMPARE(colorFolderEntries(), before);
    QCOMPARE(contents(colorFile), colorXml("0x40FF80"));
    QCOMPARE(QFileInfo(colorFile).lastModified(), modified);
}

void TestSettingsDlg::addRestoreRows()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("inWorkFolder");

    QTest::newRow("last backup") << QStringLiteral("restoreBackupButton")
                                 << QStringLiteral("Restore last backup? All changes will be lost.")
                                 << QStringLiteral("TextColors.xml.bak") << false;
    QTest::newRow("original data")
        << QStringLiteral("restoreOriginalButton")
        << QStringLiteral("Reload original data? All changes will be lost.")
        << QStringLiteral("TextColors.xml.orig") << false;
    QTest::newRow("bundled file") << QStringLiteral("restoreBundledButton")
                                  << QStringLiteral("Reload original data? All changes will be "
                                                    "lost.")
                                  << QStringLiteral("TextColors.orig") << true;
}

void TestSettingsDlg::restoreCopiesSourceAfterYes_data()
{
    addRestoreRows();
}

void TestSettingsDlg::restoreCopiesSourceAfterYes()
{
    QFETCH(QString, button);
    QFETCH(QString, question);
    QFETCH(QString, source);
    QFETCH(bool, inWorkFolder);
    put(sourcePath(source, inWorkFolder), colorXml("0x123456"));
    SettingsDlg page;
    page.setAOPath(game);
    QSignalSpy spy(&page, &SettingsDlg::reloadData);

    Messages::answerNext(Messages::Answer::Yes);
    Messages::answerNext(Messages::Answer::Ok);
    click(page, button);

    QCOMPARE(Messages::takeShown(), QStringList{question});
    QCOMPARE(Messages::pendingAnswers(), 1);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(contents(colorFile), colorXml("0x123456"));
    QCOMPARE(contents(sourcePath(source, inWorkFolder)), colorXml("0x123456"));
    for (const QString& entry : colorFolderEntries())
        QVERIFY2(entry.startsWith(QLatin1String("TextColors.xml")) && !entry.endsWith(".tmp"),
                 qPrintable(entry));
}

void TestSettingsDlg::restoreChangesNothingAfterNo_data()
{
    addRestoreRows();
}

void TestSettingsDlg::restoreChangesNothingAfterNo()
{
    QFETCH(QString, button);
    QFETCH(QString, source);
    QFETCH(bool, inWorkFolder);
    put(sourcePath(source, inWorkFolder), colorXml("0x123456"));
    const QStringList before = colorFolderEntries();
    SettingsDlg page;
    page.setAOPath(game);
    QSignalSpy spy(&page, &SettingsDlg::reloadData);

    Messages::answerNext(Messages::Answer::No);
    Messages::answerNext(Messages::Answer::Ok);
    click(page, button);

    QCOMPARE(Messages::pendingAnswers(), 1);
    QCOMPARE(spy.count(), 0);
    QCOMPARE(contents(colorFile), colorXml("0x40FF80"));
    QCOMPARE(contents(sourcePath(source, inWorkFolder)), colorXml("0x123456"));
    QCOMPARE(colorFolderEntries(), before);
}

namespace
{

// The three restore actions and the import: their buttons and the files they read.
const struct {
    const char* label;
    const char* button;
    const char* source;
    bool inWorkFolder;
} restores[] = {
    {"last backup", "restoreBackupButton", "TextColors.xml.bak", false},
    {"original data", "restoreOriginalButton", "TextColors.xml.orig", false},
    {"bundled file", "restoreBundledButton", "TextColors.orig", true},
    {"import", "importButton", "shared-scheme.xml", true},
};

// Clicks a restore, answering its question with Yes, or the import, choosing the file;
// false for the import.
bool readSource(SettingsDlg& page, const QString& button, const QString& file)
{
    const bool restore = button != QLatin1String("importButton");
    restore ? Messages::answerNext(Messages::Answer::Yes) : Choosers::setNextFile(file);
    Messages::answerNext(Messages::Answer::Ok);
    click(page, button);
    return restore;
}

} // namespace

void TestSettingsDlg::unusableSourceKeepsFileAndSaysSo_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("inWorkFolder");
    QTest::addColumn<QString>("kind");

    for (const auto& restore : restores) {
        for (const char* kind : {"missing", "folder", "dangling link"}) {
            QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(restore.label, kind)))
                << QString::fromLatin1(restore.button) << QString::fromLatin1(restore.source)
                << restore.inWorkFolder << QString::fromLatin1(kind);
        }
    }
}

void TestSettingsDlg::unusableSourceKeepsFileAndSaysSo()
{
    QFETCH(QString, button);
    QFETCH(QString, source);
    QFETCH(bool, inWorkFolder);
    QFETCH(QString, kind);
#ifdef Q_OS_WIN
    if (kind == QLatin1String("dangling link"))
        QSKIP("a link made on Windows is a shortcut file, which the file system never follows");
#endif
    const QString sourceFile = sourcePath(source, inWorkFolder);
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(sourceFile));
    if (kind == QLatin1String("dangling link"))
        QVERIFY(QFile::link(fixture->path(QStringLiteral("gone")), sourceFile));
    const QStringList before = colorFolderEntries();
    SettingsDlg page;
    page.setAOPath(game);
    QSignalSpy spy(&page, &SettingsDlg::reloadData);

    const bool restore = readSource(page, button, sourceFile);

    QCOMPARE(Messages::pendingAnswers(), 0);
    const QStringList shown = Messages::takeShown();
    QCOMPARE(shown.size(), restore ? 2 : 1);
    const QString warning = shown.last();
    QVERIFY2(warning.contains(QDir::toNativeSeparators(sourceFile)), qPrintable(warning));
    QVERIFY2(warning.contains(QLatin1String(restore ? "left as it was" : "No color was imported")),
             qPrintable(warning));
    const QString reason = kind == QLatin1String("folder") ? QStringLiteral("it is a folder")
                           : kind == QLatin1String("missing")
                               ? QStringLiteral("there is no such file")
                               : QStringLiteral("a link to nothing");
    QVERIFY2(warning.contains(reason), qPrintable(warning));
    QCOMPARE(contents(colorFile), colorXml("0x40FF80"));
    QCOMPARE(colorFolderEntries(), before);
    QCOMPARE(QFileInfo(sourceFile).isDir(), kind == QLatin1String("folder"));
    QCOMPARE(QFileInfo(sourceFile).isSymLink(), kind == QLatin1String("dangling link"));
    // A restore's reload still follows: it rereads the unchanged file.
    QCOMPARE(spy.count(), restore ? 1 : 0);
}

// Sources that exist but are no colour file: after the Yes, a warning that names the
// file and the reason, and TextColors.xml byte for byte as it was. Pipes and devices
// are refused without being waited on or read.
void TestSettingsDlg::brokenSourceWarnsAndChangesNothing_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("inWorkFolder");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");

    const struct {
        const char* kind;
        const char* reason;
    } kinds[] = {
        {"empty", "it is not a colour file"},
        {"garbage", "it is not a colour file"},
        {"truncated", "it is not a colour file"},
        {"no colours", "it holds no colours"},
        {"pipe", "it is not a regular file"},
        {"link to /dev/zero", "it is not a regular file"},
        {"too large", "it is larger than 33554432 bytes"},
    };
    for (const auto& restore : restores) {
        for (const auto& kind : kinds) {
            QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(restore.label, kind.kind)))
                << QString::fromLatin1(restore.button) << QString::fromLatin1(restore.source)
                << restore.inWorkFolder << QString::fromLatin1(kind.kind)
                << QString::fromLatin1(kind.reason);
        }
    }
}

void TestSettingsDlg::brokenSourceWarnsAndChangesNothing()
{
    QFETCH(QString, button);
    QFETCH(QString, source);
    QFETCH(bool, inWorkFolder);
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const QString sourceFile = sourcePath(source, inWorkFolder);
    if (kind == QLatin1String("empty")) {
        put(sourceFile, QByteArray());
    } else if (kind == QLatin1String("garbage")) {
        QByteArray garbage(4096, '\0');
        for (int i = 0; i < garbage.size(); ++i)
            garbage[i] = char(i * 7919 % 251);
        put(sourceFile, garbage);
    } else if (kind == QLatin1String("truncated")) {
        put(sourceFile, colorXml("0x123456").left(40));
    } else if (kind == QLatin1String("no colours")) {
        put(sourceFile,
            "<?xml version=\"1.0\"?>\n<Root><Color name=\"a\" color=\"red\"/></Root>\n");
    } else if (kind == QLatin1String("too large")) {
        // Sparse: the size is what counts, not the bytes.
        QFile large(sourceFile);
        QVERIFY(large.open(QIODevice::WriteOnly));
        QVERIFY(large.resize(ColorFile::maxSize + 1));
    } else {
#ifdef Q_OS_UNIX
        if (kind == QLatin1String("pipe"))
            QVERIFY(::mkfifo(QFile::encodeName(sourceFile).constData(), 0600) == 0);
        else
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), sourceFile));
#else
        QSKIP("needs pipes and devices in the file system");
#endif
    }
    const QByteArray sourceBefore =
        QFileInfo(sourceFile).isFile() ? contents(sourceFile) : QByteArray();
    const QStringList before = colorFolderEntries();
    const QDateTime modified = QFileInfo(colorFile).lastModified();
    SettingsDlg page;
    page.setAOPath(game);
    QSignalSpy spy(&page, &SettingsDlg::reloadData);

    const bool restore = readSource(page, button, sourceFile);

    const QStringList shown = Messages::takeShown();
    QCOMPARE(shown.size(), restore ? 2 : 1);
    const QString warning = shown.last();
    QVERIFY2(warning.contains(QDir::toNativeSeparators(QFileInfo(sourceFile).absoluteFilePath())),
             qPrintable(warning));
    QVERIFY2(warning.contains(QLatin1String(restore ? "left as it was" : "No color was imported")),
             qPrintable(warning));
    QVERIFY2(warning.contains(reason), qPrintable(warning));
    QCOMPARE(contents(colorFile), colorXml("0x40FF80"));
    QCOMPARE(QFileInfo(colorFile).lastModified(), modified);
    QCOMPARE(colorFolderEntries(), before);
    if (QFileInfo(sourceFile).isFile())
        QCOMPARE(contents(sourceFile), sourceBefore);
    QCOMPARE(spy.count(), restore ? 1 : 0);
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
    put(colorFolder + QStringLiteral("TextColors.xml.bak"), colorXml("0xABCDEF"));
    SettingsDlg page;
    page.setAOPath(game);

    Messages::answerNext(Messages::Answer::Yes);
    click(page, QStringLiteral("restoreBackupButton"));
    QCOMPARE(Messages::takeShown().size(), 1);
    QVERIFY(QFileInfo(colorFile).isSymLink());
    QCOMPARE(contents(kept), colorXml("0xABCDEF"));
    QCOMPARE(QDir(QFileInfo(kept).path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("TextColors.xml")});
}

void TestSettingsDlg::restoreLeavesAWriteProtectedFileAlone()
{
    put(colorFolder + QStringLiteral("TextColors.xml.bak"), colorXml("0xABCDEF"));
    QVERIFY(QFile::setPermissions(colorFile, QFile::ReadOwner | QFile::ReadGroup));
    const QStringList before = colorFolderEntries();
    SettingsDlg page;
    page.setAOPath(game);
    QSignalSpy spy(&page, &SettingsDlg::reloadData);

    Messages::answerNext(Messages::Answer::Yes);
    Messages::answerNext(Messages::Answer::Ok);
    click(page, QStringLiteral("restoreBackupButton"));
    const QStringList shown = Messages::takeShown();
    QCOMPARE(shown.size(), 2);
    QVERIFY2(shown.at(1).contains(QLatin1String("left as it was")) &&
                 shown.at(1).contains(QLatin1String("write-protected")),
             qPrintable(shown.at(1)));
    QCOMPARE(contents(colorFile), colorXml("0x40FF80"));
    QCOMPARE(colorFolderEntries(), before);
    QCOMPARE(spy.count(), 1);
}

void TestSettingsDlg::restoreBackupTwiceGivesTheSameFile()
{
    const QString backup = colorFolder + QStringLiteral("TextColors.xml.bak");
    put(backup, colorXml("0xABCDEF"));
    SettingsDlg page;
    page.setAOPath(game);

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
    put(colorFolder + QStringLiteral("TextColors.xml.bak"), colorXml("0xABCDEF"));
    QVERIFY(QFile::setPermissions(colorFolder, QFile::ReadOwner | QFile::ExeOwner |
                                                   QFile::ReadGroup | QFile::ExeGroup));
    SettingsDlg page;
    page.setAOPath(game);
    QSignalSpy spy(&page, &SettingsDlg::reloadData);

    Messages::answerNext(Messages::Answer::Yes);
    Messages::answerNext(Messages::Answer::Ok);
    click(page, QStringLiteral("restoreBackupButton"));

    const bool warned = Messages::takeShown().size() == 2;
    QCOMPARE(contents(colorFile), warned ? colorXml("0x40FF80") : colorXml("0xABCDEF"));
    QCOMPARE(spy.count(), 1);
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
// game's own three files are Save's alone, however the path reaches them.
void TestSettingsDlg::exportWritesTheTableButNeverTheGameFiles_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("written");

    QTest::newRow("new file") << "TextColors-scheme.xml" << true;
    QTest::newRow("over an existing file") << "existing.xml" << true;
    for (const char* own : {"TextColors.xml", "TextColors.xml.bak", "TextColors.xml.orig"})
        QTest::newRow(own) << QStringLiteral("game:") + QLatin1String(own) << false;
    QTest::newRow("a link to TextColors.xml") << "link" << false;
}

void TestSettingsDlg::exportWritesTheTableButNeverTheGameFiles()
{
    QFETCH(QString, target);
    QFETCH(bool, written);
    const QString file = target.startsWith(QLatin1String("game:")) ? colorFolder + target.mid(5)
                                                                   : fixture->path(target);
    put(fixture->path(QStringLiteral("existing.xml")), "<Root/>\n");
    if (target == QLatin1String("link")) {
#ifdef Q_OS_WIN
        QSKIP("a link made on Windows is a shortcut file, which the file system never follows");
#endif
        QVERIFY(QFile::link(colorFile, file));
    }
    QVERIFY(ColorFile::load(colorFile, &aoColors));
    // An unsaved pick goes with the export.
    AOColor picked = aoColors.find(QStringLiteral("ctch_clan"));
    picked.setColor(QColor(1, 2, 3));
    aoColors.update(picked);
    const Snapshot before = snapshotFolder(colorFolder);
    SettingsDlg page;
    page.setAOPath(game);

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
    QCOMPARE(snapshotFolder(colorFolder), before);
    QCOMPARE(shown.size(), written ? int(replaced) : 1);
    if (written)
        QCOMPARE(contents(file), ColorFile::toXml(aoColors));
    else
        QVERIFY2(shown.value(0).contains(QLatin1String("use Save")), qPrintable(shown.value(0)));
    aoColors.clear();
}

void TestSettingsDlg::saveOriginalData_data()
{
    QTest::addColumn<QByteArray>("existing");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QByteArray>("copy");

    QTest::newRow("no copy yet") << QByteArray() << int(QMessageBox::NoButton) << true
                                 << colorXml("0x40FF80");
    QTest::newRow("copy exists, No")
        << colorXml("0x999999") << int(QMessageBox::No) << false << colorXml("0x999999");
    QTest::newRow("copy exists, Yes")
        << colorXml("0x999999") << int(QMessageBox::Yes) << true << colorXml("0x40FF80");
}

void TestSettingsDlg::saveOriginalData()
{
    QFETCH(QByteArray, existing);
    QFETCH(int, answer);
    QFETCH(bool, result);
    QFETCH(QByteArray, copy);
    const QString original = colorFolder + QStringLiteral("TextColors.xml.orig");
    if (!existing.isNull())
        put(original, existing);
    SettingsDlg page;
    page.setAOPath(game);

    if (answer != QMessageBox::NoButton)
        Messages::answerNext(answer == QMessageBox::Yes ? Messages::Answer::Yes
                                                        : Messages::Answer::No);
    Messages::answerNext(Messages::Answer::Ok);
    QCOMPARE(page.saveOriginalData(), result);

    QCOMPARE(Messages::pendingAnswers(), 1);
    QCOMPARE(Messages::takeShown(),
             answer != QMessageBox::NoButton ? QStringList{overwriteQuestion} : QStringList());
    QCOMPARE(contents(original), copy);
    QCOMPARE(contents(colorFile), colorXml("0x40FF80"));
    QCOMPARE(colorFolderEntries(), (QStringList{QStringLiteral("TextColors.xml"),
                                                QStringLiteral("TextColors.xml.orig")}));
}

// The first-run copy reports nothing to the player: start-up goes on either way.
void TestSettingsDlg::saveOriginalDataFailsQuietly()
{
    const QString original = colorFolder + QStringLiteral("TextColors.xml.orig");
    SettingsDlg page;
    page.setAOPath(game);
    Messages::answerNext(Messages::Answer::Yes);
    Messages::answerNext(Messages::Answer::Ok);

    // Something that is not a file in the copy's place is asked about and survives.
    QVERIFY(QDir().mkpath(original));
    QVERIFY(!page.saveOriginalData());
    QCOMPARE(Messages::takeShown(), QStringList{overwriteQuestion});
    QVERIFY(QFileInfo(original).isDir());
    QCOMPARE(contents(colorFile), colorXml("0x40FF80"));

    // Without the game's file there is nothing to copy, and nothing is made.
    QVERIFY(QDir().rmdir(original));
    QVERIFY(QFile::remove(colorFile));
    QVERIFY(!page.saveOriginalData());
    QCOMPARE(Messages::takeShown(), QStringList());
    QCOMPARE(Messages::pendingAnswers(), 1);
    QVERIFY(colorFolderEntries().isEmpty());
}

void TestSettingsDlg::firstStartMakesOrOffersTheCopy_data()
{
    QTest::addColumn<QByteArray>("existing");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QByteArray>("copy");

    QTest::newRow("no copy yet") << QByteArray() << int(QMessageBox::NoButton)
                                 << colorXml("0x40FF80");
    QTest::newRow("copy exists, No")
        << colorXml("0x999999") << int(QMessageBox::No) << colorXml("0x999999");
    QTest::newRow("copy exists, Yes")
        << colorXml("0x999999") << int(QMessageBox::Yes) << colorXml("0x40FF80");
}

void TestSettingsDlg::firstStartMakesOrOffersTheCopy()
{
    QFETCH(QByteArray, existing);
    QFETCH(int, answer);
    QFETCH(QByteArray, copy);
    const QString original = colorFolder + QStringLiteral("TextColors.xml.orig");
    if (!existing.isNull())
        put(original, existing);
    QVERIFY(!QFile::exists(QStringLiteral("Tintwell.cfg")));

    Choosers::setNextFolder(game);
    if (answer != QMessageBox::NoButton)
        Messages::answerNext(answer == QMessageBox::Yes ? Messages::Answer::Yes
                                                        : Messages::Answer::No);
    Messages::answerNext(Messages::Answer::Ok);
    BaseDlg dialog;

    QCOMPARE(Choosers::pendingResults(), 0);
    QCOMPARE(Messages::pendingAnswers(), 1);
    QCOMPARE(Messages::takeShown(),
             answer != QMessageBox::NoButton ? QStringList{overwriteQuestion} : QStringList());
    QCOMPARE(contents(original), copy);
    QCOMPARE(contents(colorFile), colorXml("0x40FF80"));
}

void TestSettingsDlg::laterStartMakesNoCopy()
{
    const QString original = colorFolder + QStringLiteral("TextColors.xml.orig");
    fixture->writePreferences();
    Messages::answerNext(Messages::Answer::Yes);
    Choosers::setNextFolder(QString());
    {
        BaseDlg dialog;
    }
    QVERIFY(!QFile::exists(original));

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
