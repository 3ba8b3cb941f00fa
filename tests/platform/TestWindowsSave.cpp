// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program's file handling as Windows does it: paths with drive letters and
// backslashes from the folder question to the preferences file and back, CR LF in
// Tintwell.cfg, and saves the system refuses (a file held open by another program,
// the read-only attribute) that must leave every file as it was.
#include "app/BaseDlg.h"
#include "common/Files.h"
#include "common/GameFolder.h"
#include "common/WorkFolder.h"
#include "dialogs/Choosers.h"
#include "dialogs/Messages.h"
#include "settings/SettingsDlg.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QtTest>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace
{

class OpenDlg : public BaseDlg
{
public:
    using BaseDlg::saveData;
    using BaseDlg::settingsPage;
};

const QByteArray colors = "<Root>\n    <HTMLColor name=\"ctch_clan\" color=\"0x40FF80\"/>\n"
                          "    <HTMLColor name=\"ctch_team\" color=\"#00ff00\"/>\n</Root>\n";

} // namespace

class TestWindowsSave : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void driveLetterPathsEndToEnd();
    void fileHeldOpenByAnotherProgramIsKept_data();
    void fileHeldOpenByAnotherProgramIsKept();
    void briefHoldIsWaitedFor();
    void readOnlyFileIsRespected();

private:
    QString colorFile() const
    {
        return game + QStringLiteral("/cd_image/gui/default/TextColors.xml");
    }
    QString backupFile() const { return colorFile() + QStringLiteral(".bak"); }
    QStringList colorFolder() const;
    void startWithValidPrefs();
    void hold(QProcess* holder, const QStringList& how);

    std::unique_ptr<WorkFolder> dir;
    std::unique_ptr<OpenDlg> dialog;
    QString game;
};

void TestWindowsSave::initTestCase()
{
#ifndef Q_OS_WIN
    QSKIP("Windows file handling; the portable parts are tested in tests/files");
#endif
}

void TestWindowsSave::init()
{
    dir = std::make_unique<WorkFolder>();
    QVERIFY(dir->isValid());
    game = dir->path(QStringLiteral("Anarchy Online"));
    put(colorFile(), colors);
    Messages::clearAnswers();
}

void TestWindowsSave::cleanup()
{
    dialog.reset();
    dir.reset();
    QCOMPARE(Messages::pendingAnswers(), 0);
    QCOMPARE(Choosers::pendingResults(), 0);
}

QStringList TestWindowsSave::colorFolder() const
{
    return QDir(game + QStringLiteral("/cd_image/gui/default"))
        .entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

void TestWindowsSave::startWithValidPrefs()
{
    put(QStringLiteral("Tintwell.cfg"),
        GameFolder::preferencesNaming(QDir::toNativeSeparators(game).toLocal8Bit(), {}, "\r\n"));
    dialog = std::make_unique<OpenDlg>();
    QCOMPARE(Messages::takeShown(), QStringList());
}

// First start: the folder question's answer in Qt's form (forward slashes, a small
// drive letter) is kept in Windows' own form, written to Tintwell.cfg with CR LF, read
// back by the next start, and serves loading, saving and restoring.
void TestWindowsSave::driveLetterPathsEndToEnd()
{
    QString chosen = game;
    QVERIFY2(chosen.size() > 2 && chosen.at(1) == QLatin1Char(':'), qPrintable(chosen));
    chosen[0] = chosen.at(0).toLower();
    QString windowsForm = QDir::toNativeSeparators(game);
    windowsForm[0] = windowsForm.at(0).toUpper();

    Choosers::setNextFolder(chosen);
    dialog = std::make_unique<OpenDlg>();
    QCOMPARE(dialog->settingsPage->aoPath(), windowsForm);
    QCOMPARE(contents(colorFile() + QStringLiteral(".orig")), colors);

    dialog->saveData();
    QCOMPARE(Messages::takeShown(), QStringList());
    QCOMPARE(contents(backupFile()), colors);
    const QByteArray saved = contents(colorFile());
    QVERIFY(saved.contains("name=\"ctch_team\" color=\"#00ff00\""));

    dialog->savePrefs();
    dialog.reset();
    QCOMPARE(contents(QStringLiteral("Tintwell.cfg")),
             GameFolder::preferencesNaming(windowsForm.toLocal8Bit(), GameFolder::usualSettings,
                                           "\r\n"));

    // The next start finds the folder without asking and restores the backup into it.
    dialog = std::make_unique<OpenDlg>();
    QCOMPARE(dialog->settingsPage->aoPath(), windowsForm);
    put(colorFile(), "<Root/>\n");
    Messages::answerNext(Messages::Answer::Yes);
    QVERIFY(QMetaObject::invokeMethod(dialog->settingsPage, "restoreBackup"));
    QCOMPARE(Messages::takeShown().size(), 1);
    QCOMPARE(contents(colorFile()), colors);
}

// Another program holding the colour file open, until the test lets go or for the given
// milliseconds; see hold_open.cpp.
void TestWindowsSave::hold(QProcess* holder, const QStringList& how)
{
    holder->start(QCoreApplication::applicationDirPath() + QStringLiteral("/hold_open.exe"),
                  QStringList{QDir::toNativeSeparators(colorFile())} + how);
    QVERIFY(holder->waitForStarted());
    QVERIFY(holder->waitForReadyRead(30000));
    QCOMPARE(holder->readAll().trimmed(), QByteArray("held"));
}

void TestWindowsSave::fileHeldOpenByAnotherProgramIsKept_data()
{
    QTest::addColumn<QString>("sharing");
    QTest::newRow("the game shares reading") << "shared";
    QTest::newRow("nothing shared") << "exclusive";
}

// Said to be held by the game, not changed by another program, and nothing replaced:
// the backup keeps what it held.
void TestWindowsSave::fileHeldOpenByAnotherProgramIsKept()
{
    QFETCH(QString, sharing);
    startWithValidPrefs();
    put(backupFile(), "earlier backup");
    const QStringList before = colorFolder();
    QProcess holder;
    hold(&holder, {sharing});

    Messages::answerNext(Messages::Answer::Ok);
    dialog->saveData();
    const QStringList shown = Messages::takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().contains(QLatin1String("close the game")) &&
                 shown.first().contains(QDir::toNativeSeparators(colorFile())),
             qPrintable(shown.first()));
    // Read as at start-up, a file nothing may read is named too.
    Messages::answerNext(Messages::Answer::Ok);
    emit dialog->settingsPage->reloadData();
    QCOMPARE(Messages::takeShown().filter(QStringLiteral("close the game")).size(),
             sharing == QLatin1String("exclusive") ? 1 : 0);
    Messages::clearAnswers();
    holder.closeWriteChannel();
    QVERIFY(holder.waitForFinished(30000));
    QCOMPARE(contents(colorFile()), colors);
    QCOMPARE(contents(backupFile()), QByteArray("earlier backup"));
    QCOMPARE(colorFolder(), before);

    // Once the other program has let go, the same save goes through.
    emit dialog->settingsPage->reloadData();
    dialog->saveData();
    QCOMPARE(Messages::takeShown(), QStringList());
    QCOMPARE(contents(backupFile()), colors);
}

// A virus scanner or the search indexer lets go within a moment: the save waits for it.
void TestWindowsSave::briefHoldIsWaitedFor()
{
    startWithValidPrefs();
    QProcess holder;
    hold(&holder, {QStringLiteral("shared"), QStringLiteral("150")});
    Messages::answerNext(Messages::Answer::Ok);
    dialog->saveData();
    QVERIFY(holder.waitForFinished(30000));
    QCOMPARE(Messages::takeShown(), QStringList());
    Messages::clearAnswers();
    QCOMPARE(contents(backupFile()), colors);
}

void TestWindowsSave::readOnlyFileIsRespected()
{
#ifdef Q_OS_WIN
    startWithValidPrefs();
    const QStringList before = colorFolder();
    const auto path = reinterpret_cast<const wchar_t*>(colorFile().utf16());
    QVERIFY(::SetFileAttributesW(path, FILE_ATTRIBUTE_READONLY));
    QVERIFY(::GetFileAttributesW(path) & FILE_ATTRIBUTE_READONLY);

    Messages::answerNext(Messages::Answer::Ok);
    dialog->saveData();
    const QStringList shown = Messages::takeShown();
    ::SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);

    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().contains(QLatin1String("TextColors.xml: the file is write-protected")),
             qPrintable(shown.first()));
    QCOMPARE(contents(colorFile()), colors);
    QCOMPARE(colorFolder(), before);
#endif
}

QTEST_MAIN(TestWindowsSave)
#include "TestWindowsSave.moc"
