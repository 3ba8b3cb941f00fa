// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BaseDlg.h"

#include "advanced/AdvancedModeDlg.h"
#include "app/Choosers.h"
#include "basic/BasicModeDlg.h"
#include "common/Files.h"
#include "common/ModalDriver.h"
#include "model/AOColors.h"
#include "settings/FolderPath.h"
#include "settings/SettingsDlg.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>

namespace
{

QStringList* debugLines = nullptr;

void recordDebug(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtDebugMsg && debugLines)
        debugLines->append(message);
}

// Opens the dialog's protected parts to the test and counts the refreshes of the
// pages from the end of construction on.
class OpenDlg : public BaseDlg
{
public:
    using BaseDlg::advancedMode;
    using BaseDlg::advancedPage;
    using BaseDlg::basicPage;
    using BaseDlg::bgColor;
    using BaseDlg::closeButton;
    using BaseDlg::layout;
    using BaseDlg::loadData;
    using BaseDlg::modeStack;
    using BaseDlg::pickColor;
    using BaseDlg::saveButton;
    using BaseDlg::settingsPage;
    using BaseDlg::tabWidget;

    int colorRefreshes = 0;
    int backgroundRefreshes = 0;

protected:
    void updateColors() override
    {
        ++colorRefreshes;
        BaseDlg::updateColors();
    }
    void updateBackgroundColor() override
    {
        ++backgroundRefreshes;
        BaseDlg::updateBackgroundColor();
    }
};

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QByteArray fiveColors = "<?xml version=\"1.0\"?>\n<Root>\n"
                              "  <HTMLColor name=\"ctch_clan\" color=\"0x40FF80\" />\n"
                              "  <HTMLColor name=\"CCClanColor\" color=\"#00FF00\" />\n"
                              "  <HTMLColor name=\"clan_third\" color=\"red\" />\n"
                              "  <HTMLColor name=\"background\" color=\"0x123456\" />\n"
                              "  <HTMLColor name=\"ctch_clan\" color=\"0x999999\" />\n"
                              "</Root>\n";

QStringList tableText()
{
    QStringList text;
    for (const AOColor& entry : qAsConst(aoColors))
        text << entry.name + QLatin1Char('=') + entry.value;
    return text;
}

// Every file of a folder with its content, so that "nothing changed" can be compared.
QMap<QString, QByteArray> snapshot(const QString& folder)
{
    QMap<QString, QByteArray> files;
    for (const QFileInfo& info :
         QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
        files.insert(info.fileName(),
                     info.isDir() ? QByteArray("<folder>") : readFile(info.filePath()));
    return files;
}

const QString groupLine = QStringLiteral("BaseDlg::pickColor( const QStringList& groups ): ");

} // namespace

class TestBaseDlg : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void windowIsBuiltAsDesigned();
    void preferencesAreReadAndWrittenBack();
    void firstStartAsksForFolderBeforeLoading();
    void modeFollowsTheCheckBox();
    void cancelledFolderQuestionEndsWithMinusOne();
    void closingWritesPreferencesAndKeepsColors();
    void loadDataReadsTheFileAndRefreshesOnce();
    void saveWritesTheTableAndKeepsTheBackup();
    void saveAfterFailedLoadTouchesNoFile_data();
    void saveAfterFailedLoadTouchesNoFile();
    void failedSaveWarnsAndKeepsTheFile();
    void pickingRefreshesThePages_data();
    void pickingRefreshesThePages();
    void swatchGivesEveryNameTheChosenColor();
    void cancelledSwatchStillCopiesTheFirstColor();
    void swatchWithNamesMissingFromTheTable();
    void singleNameMissingFromTheTable();
    void backgroundIsNotATableEntry();
    void emptySwatchDoesNothing();
    void missingNamesNeverColorANamelessEntry();
    void saveRefusesAFolderTypedSinceTheLoad();

private:
    QString makeGame();
    void writePrefs(const QByteArray& text);
    void writeColors(const QByteArray& text);
    QString colorFile() const;

    std::unique_ptr<QTemporaryDir> dir;
    QString previous;
    QString game;
};

void TestBaseDlg::init()
{
    previous = QDir::currentPath();
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    QVERIFY(QDir::setCurrent(dir->path()));
    game = makeGame();
}

void TestBaseDlg::cleanup()
{
    QDir::setCurrent(previous);
    qInstallMessageHandler(nullptr);
    debugLines = nullptr;
}

QString TestBaseDlg::makeGame()
{
    const QString folder = dir->filePath(QStringLiteral("Anarchy Online"));
    QDir().mkpath(folder + QStringLiteral("/cd_image/gui/default"));
    QFile file(folder + QStringLiteral("/cd_image/gui/default/TextColors.xml"));
    file.open(QIODevice::WriteOnly);
    file.write("<Root>\n    <HTMLColor name=\"ctch_clan\" color=\"0x40FF80\" />\n</Root>\n");
    return folder;
}

void TestBaseDlg::writePrefs(const QByteArray& text)
{
    QFile file(QStringLiteral("Tintwell.cfg"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

void TestBaseDlg::windowIsBuiltAsDesigned()
{
    writePrefs("AODir = " + game.toLocal8Bit() + "\n");
    OpenDlg dialog;

    QCOMPARE(int(dialog.windowFlags()), 0x3003);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Tintwell v0.3"));
    QCOMPARE(dialog.minimumSize(), QSize(360, 430));
    QCOMPARE(dialog.maximumSize(), QSize(360, 430));
    QVERIFY(!dialog.windowIcon().isNull());
    QCOMPARE(dialog.windowIcon().availableSizes().value(0), QSize(16, 16));
    QCOMPARE(dialog.layout->spacing(), 4);
    QCOMPARE(dialog.layout->contentsMargins(), QMargins(6, 6, 6, 6));

    QStringList titles;
    for (int i = 0; i < dialog.tabWidget->count(); ++i)
        titles << dialog.tabWidget->tabText(i);
    QCOMPARE(titles, (QStringList{QStringLiteral("Chat Colors"), QStringLiteral("Settings"),
                                  QStringLiteral("About..."), QStringLiteral("License")}));
    QCOMPARE(dialog.tabWidget->widget(0), dialog.modeStack);
    QCOMPARE(dialog.tabWidget->widget(1), dialog.settingsPage);
    QCOMPARE(dialog.modeStack->widget(0), dialog.basicPage);
    QCOMPARE(dialog.modeStack->widget(1), dialog.advancedPage);
    QCOMPARE(dialog.modeStack->currentIndex(), 0);
    QCOMPARE(dialog.tabWidget->currentIndex(), 0);
    QVERIFY(dialog.saveButton->isDefault());
    QCOMPARE(dialog.saveButton->text(), QStringLiteral("&Save"));
    QCOMPARE(dialog.closeButton->text(), QStringLiteral("&Close"));
}

void TestBaseDlg::preferencesAreReadAndWrittenBack()
{
    writePrefs("## Tintwell Configuration ##\r\nAODir = " + game.toLocal8Bit() +
               "\r\nAdvancedMode = 2\r\nBGColor = #00ff00\r\nBGColor\r\nColour = red\r\n");
    OpenDlg dialog;
    QCOMPARE(dialog.settingsPage->aoPath(), game);
    QVERIFY(dialog.advancedMode);
    QCOMPARE(dialog.modeStack->currentIndex(), 1);
    QCOMPARE(dialog.bgColor.value, QStringLiteral("#00ff00"));
    QCOMPARE(dialog.bgColor.name, QStringLiteral("Tintwell background"));
    QCOMPARE(dialog.bgColor.toQColor(), QColor(0, 255, 0));

    dialog.savePrefs();
    QCOMPARE(readFile(QStringLiteral("Tintwell.cfg")),
             textLines("## Tintwell Configuration ##\nAODir = " + game.toLocal8Bit() +
                       "\nAdvancedMode = 1\nBGColor = #00ff00\n"));
}

void TestBaseDlg::firstStartAsksForFolderBeforeLoading()
{
    QStringList lines;
    debugLines = &lines;
    qInstallMessageHandler(recordDebug);
    // Answered through the chooser seam: Windows' own folder dialog is no Qt widget.
    Choosers::setNextFolder(game);

    OpenDlg dialog;
    qInstallMessageHandler(nullptr);

    QCOMPARE(Choosers::pendingResults(), 0);
    const QString folder = FolderPath::fromDialog(game);
    QCOMPARE(dialog.settingsPage->aoPath(), folder);
    QVERIFY(!dialog.advancedMode);
    QCOMPARE(dialog.bgColor.value, QStringLiteral("black"));
    // The colour file is read from the folder the question gave, so after it.
    const int prefs = lines.indexOf(QStringLiteral("loadPrefs(): file: Tintwell.cfg"));
    const int load = lines.indexOf(QStringLiteral("loadData(): file: ") + folder +
                                   QStringLiteral("/cd_image/gui/default/TextColors.xml"));
    QVERIFY2(prefs >= 0 && load > prefs, qPrintable(lines.join('\n')));
    QVERIFY(!QFile::exists(QStringLiteral("Tintwell.cfg")));
}

void TestBaseDlg::modeFollowsTheCheckBox()
{
    writePrefs("AODir = " + game.toLocal8Bit() + "\nAdvancedMode = x\n");
    OpenDlg dialog;
    QVERIFY(!dialog.advancedMode);
    auto* box = dialog.settingsPage->findChild<QCheckBox*>(QStringLiteral("modeCheckBox"));
    box->click();
    QVERIFY(dialog.advancedMode);
    QCOMPARE(dialog.modeStack->currentWidget(), dialog.advancedPage);
    box->click();
    QVERIFY(!dialog.advancedMode);
    QCOMPARE(dialog.modeStack->currentWidget(), dialog.basicPage);
}

void TestBaseDlg::cancelledFolderQuestionEndsWithMinusOne()
{
    QProcess probe;
    probe.setWorkingDirectory(dir->path());
    probe.start(besideTest(QStringLiteral(STARTUP_PROBE)), QStringList());
    QVERIFY(probe.waitForFinished(30000));
    QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
    // exit(-1): Windows keeps the whole value, POSIX only its low byte.
#ifdef Q_OS_WIN
    QCOMPARE(probe.exitCode(), -1);
#else
    QCOMPARE(probe.exitCode(), 255);
#endif
    QVERIFY(!QFile::exists(dir->filePath(QStringLiteral("Tintwell.cfg"))));
}

void TestBaseDlg::closingWritesPreferencesAndKeepsColors()
{
    const QString colorFile = game + QStringLiteral("/cd_image/gui/default/TextColors.xml");
    const QByteArray colors = readFile(colorFile);
    writePrefs("AODir = " + game.toLocal8Bit() + "\n");

    QProcess probe;
    probe.setWorkingDirectory(dir->path());
    probe.start(besideTest(QStringLiteral(STARTUP_PROBE)), QStringList());
    QVERIFY(probe.waitForFinished(30000));
    QCOMPARE(probe.exitCode(), 0);
    QCOMPARE(readFile(dir->filePath(QStringLiteral("Tintwell.cfg"))),
             textLines("## Tintwell Configuration ##\nAODir = " + game.toLocal8Bit() +
                       "\nAdvancedMode = 0\nBGColor = black\n"));
    QCOMPARE(readFile(colorFile), colors);
}

QString TestBaseDlg::colorFile() const
{
    return game + QStringLiteral("/cd_image/gui/default/TextColors.xml");
}

void TestBaseDlg::writeColors(const QByteArray& text)
{
    QFile file(colorFile());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

void TestBaseDlg::loadDataReadsTheFileAndRefreshesOnce()
{
    writePrefs("AODir = " + game.toLocal8Bit() + "\n");
    writeColors(fiveColors);
    OpenDlg dialog;
    QCOMPARE(tableText(),
             (QStringList{"ctch_clan=0x40FF80", "CCClanColor=#00FF00", "clan_third=red",
                          "background=0x123456", "ctch_clan=0x999999"}));
    QCOMPARE(aoColors.at(0).format, int(AOColor::Hex6));
    QCOMPARE(aoColors.at(0).green, 0xff);

    QStringList lines;
    debugLines = &lines;
    qInstallMessageHandler(recordDebug);
    writeColors("<Root><HTMLColor name=\"only\" color=\"blue\"/></Root>");
    emit dialog.settingsPage->reloadData();
    QCOMPARE(tableText(), QStringList{"only=blue"});
    QCOMPARE(lines.value(0), QStringLiteral("loadData(): file: ") + colorFile());
    QCOMPARE(dialog.colorRefreshes, 1);

    writeColors("<Root><HTMLColor name=\"broken\"");
    emit dialog.settingsPage->reloadData();
    QVERIFY(aoColors.isEmpty());
    QCOMPARE(dialog.colorRefreshes, 2);
    QCOMPARE(dialog.backgroundRefreshes, 0);
}

void TestBaseDlg::saveWritesTheTableAndKeepsTheBackup()
{
    writePrefs("AODir = " + game.toLocal8Bit() + "\n");
    writeColors(fiveColors);
    OpenDlg dialog;
    AOColor changed = aoColors.find(QStringLiteral("clan_third"));
    changed.setColor(QColor(1, 2, 3));
    aoColors.update(changed);
    const QStringList table = tableText();

    ModalDriver driver;
    driver.then(ModalDriver::reject());
    dialog.saveButton->click();
    QCOMPARE(driver.handled(), 0);
    QCOMPARE(readFile(colorFile() + QStringLiteral(".bak")), fiveColors);
    const QByteArray written = readFile(colorFile());
    QVERIFY(written.startsWith("<Root>\n"));
    const QList<QByteArray> lines = written.split('\n');
    QCOMPARE(lines.size(), 5 + 3);
    for (int i = 1; i <= 5; ++i)
        QVERIFY2(lines.at(i).startsWith("    <HTMLColor name=\""), lines.at(i).constData());
    QVERIFY(lines.at(3).contains("color=\"0x010203\""));
    QCOMPARE(tableText(), table);
    QCOMPARE(dialog.colorRefreshes, 0);

    emit dialog.settingsPage->reloadData();
    QCOMPARE(tableText(), table);
}

void TestBaseDlg::saveAfterFailedLoadTouchesNoFile_data()
{
    QTest::addColumn<QByteArray>("broken");

    QTest::newRow("missing") << QByteArray("<missing>");
    QTest::newRow("a folder in its place") << QByteArray("<folder>");
    QTest::newRow("not well-formed") << QByteArray("<Root><HTMLColor name=\"a\" color=\"b\">");
    QTest::newRow("refused, nested 40,000 deep")
        << QByteArray("<a>").repeated(40000) + QByteArray("</a>").repeated(40000);
}

void TestBaseDlg::saveAfterFailedLoadTouchesNoFile()
{
    QFETCH(QByteArray, broken);
    writePrefs("AODir = " + game.toLocal8Bit() + "\n");
    writeColors(fiveColors);
    OpenDlg dialog;
    QFile(colorFile() + QStringLiteral(".bak")).remove();
    writeColors(fiveColors);
    QVERIFY(QFile::copy(colorFile(), colorFile() + QStringLiteral(".bak")));
    if (broken == "<missing>" || broken == "<folder>")
        QVERIFY(QFile::remove(colorFile()));
    if (broken == "<folder>")
        QVERIFY(QDir().mkdir(colorFile()));
    else if (broken != "<missing>")
        writeColors(broken);
    emit dialog.settingsPage->reloadData();
    QVERIFY(aoColors.isEmpty());

    const QString folder = QFileInfo(colorFile()).path();
    const QMap<QString, QByteArray> before = snapshot(folder);
    ModalDriver driver;
    driver.then(ModalDriver::answer(QMessageBox::Ok));
    dialog.saveButton->click();
    QCOMPARE(driver.handled(), 1);
    QCOMPARE(driver.titles(), QStringList{QStringLiteral("Tintwell v0.3")});
    const QString text = driver.texts().value(0);
    QVERIFY2(
        text.contains(QStringLiteral("not saved")) &&
            text.contains(QStringLiteral("TextColors.xml and TextColors.xml.bak are unchanged")),
        qPrintable(text));
    QCOMPARE(snapshot(folder), before);
}

void TestBaseDlg::failedSaveWarnsAndKeepsTheFile()
{
    writePrefs("AODir = " + game.toLocal8Bit() + "\n");
    writeColors(fiveColors);
    OpenDlg dialog;
    AOColor changed = aoColors.find(QStringLiteral("ctch_clan"));
    changed.setColor(QColor(1, 2, 3));
    aoColors.update(changed);
    const QStringList table = tableText();
    QVERIFY(QDir().mkdir(colorFile() + QStringLiteral(".bak")));

    ModalDriver driver;
    driver.then(ModalDriver::answer(QMessageBox::Ok));
    dialog.saveButton->click();
    QCOMPARE(driver.handled(), 1);
    QCOMPARE(driver.titles(), QStringList{QStringLiteral("Tintwell v0.3")});
    const QString text = driver.texts().value(0);
    QVERIFY2(text.startsWith(QStringLiteral("The colours could not be saved. TextColors.xml is "
                                            "unchanged.")) &&
                 text.contains(QStringLiteral("TextColors.xml.bak: is a folder")),
             qPrintable(text));
    QCOMPARE(readFile(colorFile()), fiveColors);
    QCOMPARE(tableText(), table);
}

void TestBaseDlg::pickingRefreshesThePages_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("swatch");
    QTest::addColumn<bool>("choose");
    QTest::addColumn<int>("backgroundRefreshes");
    QTest::addColumn<int>("colorRefreshes");

    const QStringList background{QStringLiteral("background")};
    const QStringList name{QStringLiteral("CCClanColor")};
    const QStringList group{QStringLiteral("ctch_clan"), QStringLiteral("CCClanColor")};
    QTest::newRow("colour chosen for the background") << background << false << true << 1 << 0;
    QTest::newRow("background chooser cancelled") << background << false << false << 0 << 0;
    QTest::newRow("colour chosen for a table name") << name << false << true << 0 << 1;
    QTest::newRow("table name chooser cancelled") << name << false << false << 0 << 0;
    QTest::newRow("swatch, colour chosen") << group << true << true << 0 << 2;
    QTest::newRow("swatch, chooser cancelled") << group << true << false << 0 << 1;
    QTest::newRow("swatch of one name, colour chosen") << name << true << true << 0 << 2;
}

void TestBaseDlg::pickingRefreshesThePages()
{
    QFETCH(QStringList, names);
    QFETCH(bool, swatch);
    QFETCH(bool, choose);
    QFETCH(int, backgroundRefreshes);
    QFETCH(int, colorRefreshes);
    writePrefs("AODir = " + game.toLocal8Bit() + "\n");
    writeColors(fiveColors);
    OpenDlg dialog;

    ModalDriver driver;
    driver.then(choose ? ModalDriver::chooseColor(QColor(1, 2, 3)) : ModalDriver::reject());
    if (swatch)
        dialog.pickColor(names);
    else
        dialog.pickColor(names.first());
    QCOMPARE(driver.handled(), 1);
    QCOMPARE(dialog.backgroundRefreshes, backgroundRefreshes);
    QCOMPARE(dialog.colorRefreshes, colorRefreshes);
}

void TestBaseDlg::swatchGivesEveryNameTheChosenColor()
{
    writePrefs("AODir = " + game.toLocal8Bit() + "\n");
    writeColors(fiveColors);
    OpenDlg dialog;
    QStringList lines;
    debugLines = &lines;
    qInstallMessageHandler(recordDebug);

    QColor start;
    QWidget* parent = nullptr;
    ModalDriver driver;
    driver.then([&](QWidget* w) {
        start = static_cast<QColorDialog*>(w)->currentColor();
        parent = w->parentWidget();
        ModalDriver::chooseColor(QColor(1, 2, 3))(w);
    });
    dialog.pickColor(QStringList{"ctch_clan", "CCClanColor", "clan_third"});

    QCOMPARE(start, QColor(0x40, 0xff, 0x80));
    QCOMPARE(parent, &dialog);
    QCOMPARE(tableText(),
             (QStringList{"ctch_clan=0x010203", "CCClanColor=0x010203", "clan_third=0x010203",
                          "background=0x123456", "ctch_clan=0x999999"}));
    QCOMPARE(aoColors.at(2).red, 1);
    QCOMPARE(lines, (QStringList{groupLine + "list has 3 members",
                                 groupLine + "Color 0 is 'ctch_clan' (0x010203)",
                                 groupLine + "Color 1 is 'CCClanColor' (0x010203)",
                                 groupLine + "Color 2 is 'clan_third' (0x010203)"}));
}

void TestBaseDlg::cancelledSwatchStillCopiesTheFirstColor()
{
    writePrefs("AODir = " + game.toLocal8Bit() + "\n");
    writeColors(fiveColors);
    OpenDlg dialog;
    QStringList lines;
    debugLines = &lines;
    qInstallMessageHandler(recordDebug);

    ModalDriver driver;
    driver.then(ModalDriver::reject());
    dialog.pickColor(QStringList{"ctch_clan", "CCClanColor", "clan_third"});

    QCOMPARE(tableText(),
             (QStringList{"ctch_clan=0x40FF80", "CCClanColor=0x40FF80", "clan_third=0x40FF80",
                          "background=0x123456", "ctch_clan=0x999999"}));
    QCOMPARE(aoColors.at(2).format, int(AOColor::Hex6));
    QCOMPARE(aoColors.at(2).green, 0xff);
    QCOMPARE(lines.value(1), groupLine + "Color 0 is 'ctch_clan' (0x40FF80)");
    QCOMPARE(lines.value(3), groupLine + "Color 2 is 'clan_third' (0x40FF80)");
}

void TestBaseDlg::swatchWithNamesMissingFromTheTable()
{
    writePrefs("AODir = " + game.toLocal8Bit() + "\n");
    writeColors(fiveColors);
    OpenDlg dialog;
    QStringList lines;
    debugLines = &lines;
    qInstallMessageHandler(recordDebug);

    ModalDriver driver;
    driver.then(ModalDriver::chooseColor(QColor(1, 2, 3)));
    dialog.pickColor(QStringList{"ctch_clan", "no_such_name", "clan_third"});
    QCOMPARE(tableText(),
             (QStringList{"ctch_clan=0x010203", "CCClanColor=#00FF00", "clan_third=0x010203",
                          "background=0x123456", "ctch_clan=0x999999"}));
    QCOMPARE(lines.value(2), groupLine + "Color 1 is '' (0x010203)");

    // Without a colour of its own, the first name has nothing to give the others: their
    // colours stay as they are instead of becoming empty.
    const QStringList before = tableText();
    driver.then(ModalDriver::chooseColor(QColor(4, 5, 6)));
    dialog.pickColor(QStringList{"no_such_name", "CCClanColor"});
    QCOMPARE(driver.handled(), 2);
    QCOMPARE(tableText(), before);
    QCOMPARE(dialog.colorRefreshes, 4);
}

void TestBaseDlg::singleNameMissingFromTheTable()
{
    writePrefs("AODir = " + game.toLocal8Bit() + "\n");
    writeColors(fiveColors);
    OpenDlg dialog;
    const QStringList before = tableText();
    ModalDriver driver;
    driver.then(ModalDriver::chooseColor(QColor(1, 2, 3)));
    dialog.pickColor(QStringLiteral("no_such_name"));
    QCOMPARE(driver.handled(), 1);
    QCOMPARE(tableText(), before);
    QCOMPARE(dialog.colorRefreshes, 1);
}

void TestBaseDlg::backgroundIsNotATableEntry()
{
    writePrefs("AODir = " + game.toLocal8Bit() + "\n");
    writeColors(fiveColors);
    OpenDlg dialog;
    const QStringList before = tableText();
    QColor start;
    ModalDriver driver;
    driver.then([&](QWidget* w) {
        start = static_cast<QColorDialog*>(w)->currentColor();
        ModalDriver::chooseColor(QColor(0xab, 0xcd, 0xef))(w);
    });
    dialog.pickColor(QStringLiteral("background"));
    QCOMPARE(start, QColor(Qt::black));
    QCOMPARE(dialog.bgColor.value, QStringLiteral("0xabcdef"));
    QCOMPARE(dialog.bgColor.name, QStringLiteral("Tintwell background"));
    QCOMPARE(tableText(), before);
}

void TestBaseDlg::emptySwatchDoesNothing()
{
    writePrefs("AODir = " + game.toLocal8Bit() + "\n");
    writeColors(fiveColors);
    OpenDlg dialog;
    QStringList lines;
    debugLines = &lines;
    qInstallMessageHandler(recordDebug);
    ModalDriver driver;
    driver.then(ModalDriver::reject());
    dialog.pickColor(QStringList());
    QTest::qWait(50);
    QCOMPARE(driver.handled(), 0);
    QCOMPARE(lines, QStringList());
    QCOMPARE(dialog.colorRefreshes, 0);
}

void TestBaseDlg::missingNamesNeverColorANamelessEntry()
{
    writePrefs("AODir = " + game.toLocal8Bit() + "\n");
    writeColors("<Root><HTMLColor name=\"ctch_clan\" color=\"0x40FF80\"/>"
                "<HTMLColor color=\"0xABCDEF\"/></Root>");
    OpenDlg dialog;
    const QStringList before = tableText();
    QCOMPARE(before, (QStringList{"ctch_clan=0x40FF80", "=0xABCDEF"}));

    ModalDriver driver;
    driver.then(ModalDriver::chooseColor(QColor(1, 2, 3)))
        .then(ModalDriver::chooseColor(QColor(4, 5, 6)));
    dialog.pickColor(QStringLiteral("no_such_name"));
    QCOMPARE(tableText(), before);
    dialog.pickColor(QStringList{"ctch_clan", "no_such_name"});
    QCOMPARE(driver.handled(), 2);
    QCOMPARE(tableText(), (QStringList{"ctch_clan=0x040506", "=0xABCDEF"}));
}

void TestBaseDlg::saveRefusesAFolderTypedSinceTheLoad()
{
    writePrefs("AODir = " + game.toLocal8Bit() + "\n");
    writeColors(fiveColors);
    const QString other = dir->filePath(QStringLiteral("Other install"));
    const QString otherColors = other + QStringLiteral("/cd_image/gui/default/");
    QVERIFY(QDir().mkpath(otherColors));
    const QByteArray theirs = "<Root><HTMLColor name=\"ctch_clan\" color=\"0x000001\"/></Root>";
    QFile file(otherColors + QStringLiteral("TextColors.xml"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(theirs);
    file.close();

    OpenDlg dialog;
    dialog.settingsPage->setAOPath(other);
    const auto mine = snapshot(QFileInfo(colorFile()).path());
    const auto before = snapshot(otherColors);
    ModalDriver driver;
    driver.then(ModalDriver::answer(QMessageBox::Ok));
    dialog.saveButton->click();
    QCOMPARE(driver.handled(), 1);
    QVERIFY2(driver.texts().value(0).contains(QStringLiteral("Reload")),
             qPrintable(driver.texts().value(0)));
    QCOMPARE(snapshot(otherColors), before);
    QCOMPARE(snapshot(QFileInfo(colorFile()).path()), mine);

    // Once read from the new folder, its own colours are saved there.
    emit dialog.settingsPage->reloadData();
    dialog.saveButton->click();
    QCOMPARE(driver.handled(), 1);
    QCOMPARE(readFile(otherColors + QStringLiteral("TextColors.xml.bak")), theirs);
}

QTEST_MAIN(TestBaseDlg)
#include "TestBaseDlg.moc"
