// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BaseDlg.h"

#include "advanced/AdvancedModeDlg.h"
#include "basic/BasicModeDlg.h"
#include "common/ModalDriver.h"
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

namespace {

QStringList* debugLines = nullptr;

void recordDebug(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtDebugMsg && debugLines)
        debugLines->append(message);
}

// Opens the dialog's protected parts to the test.
class OpenDlg : public BaseDlg
{
public:
    using BaseDlg::advancedMode;
    using BaseDlg::advancedPage;
    using BaseDlg::basicPage;
    using BaseDlg::bgColor;
    using BaseDlg::closeButton;
    using BaseDlg::layout;
    using BaseDlg::modeStack;
    using BaseDlg::saveButton;
    using BaseDlg::settingsPage;
    using BaseDlg::tabWidget;
};

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

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

private:
    QString makeGame();
    void writePrefs(const QByteArray& text);

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
             "## Tintwell Configuration ##\nAODir = " + game.toLocal8Bit() +
                 "\nAdvancedMode = 1\nBGColor = #00ff00\n");
}

void TestBaseDlg::firstStartAsksForFolderBeforeLoading()
{
    QStringList lines;
    debugLines = &lines;
    qInstallMessageHandler(recordDebug);
    ModalDriver driver;
    driver.then([&](QWidget* w) {
        lines.append(QStringLiteral("<folder dialog>"));
        ModalDriver::chooseFolder(game)(w);
    });

    OpenDlg dialog;
    qInstallMessageHandler(nullptr);

    QCOMPARE(driver.handled(), 1);
    QCOMPARE(dialog.settingsPage->aoPath(), QDir::toNativeSeparators(game));
    QVERIFY(!dialog.advancedMode);
    QCOMPARE(dialog.bgColor.value, QStringLiteral("black"));
    const int prefs = lines.indexOf(QStringLiteral("loadPrefs(): file: Tintwell.cfg"));
    const int folder = lines.indexOf(QStringLiteral("<folder dialog>"));
    const int load = lines.indexOf(QRegularExpression(QStringLiteral("loadData\\(\\): file: .*")));
    QVERIFY2(prefs >= 0 && folder > prefs && load > folder, qPrintable(lines.join('\n')));
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
    probe.start(QStringLiteral(STARTUP_PROBE), QStringList());
    QVERIFY(probe.waitForFinished(30000));
    QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
    QCOMPARE(probe.exitCode(), 255);
    QVERIFY(!QFile::exists(dir->filePath(QStringLiteral("Tintwell.cfg"))));
}

void TestBaseDlg::closingWritesPreferencesAndKeepsColors()
{
    const QString colorFile = game + QStringLiteral("/cd_image/gui/default/TextColors.xml");
    const QByteArray colors = readFile(colorFile);
    writePrefs("AODir = " + game.toLocal8Bit() + "\n");

    QProcess probe;
    probe.setWorkingDirectory(dir->path());
    probe.start(QStringLiteral(STARTUP_PROBE), QStringList());
    QVERIFY(probe.waitForFinished(30000));
    QCOMPARE(probe.exitCode(), 0);
    QCOMPARE(readFile(dir->filePath(QStringLiteral("Tintwell.cfg"))),
             "## Tintwell Configuration ##\nAODir = " + game.toLocal8Bit() +
                 "\nAdvancedMode = 0\nBGColor = black\n");
    QCOMPARE(readFile(colorFile), colors);
}

QTEST_MAIN(TestBaseDlg)
#include "TestBaseDlg.moc"
