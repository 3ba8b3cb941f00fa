// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Choosers.h"

#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QtTest>

class TestChoosers : public QObject
{
    Q_OBJECT

private slots:
    void folderDialogOpensOnItsStartWithHiddenFolders();
    void presetFolderAnswersInstead();
};

// The dialog the player sees: one folder, hidden folders listed, and OK without
// picking anything takes the folder it opened at (a found install).
void TestChoosers::folderDialogOpensOnItsStartWithHiddenFolders()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString start = dir.filePath(QStringLiteral("Anarchy Online"));
    QVERIFY(QDir().mkpath(start + QStringLiteral("/.hidden")));

    QFileDialog dialog(nullptr, QStringLiteral("caption"));
    Choosers::setUpFolderDialog(&dialog, start);
    QCOMPARE(dialog.fileMode(), QFileDialog::Directory);
    QVERIFY(dialog.testOption(QFileDialog::ShowDirsOnly));
    QVERIFY(dialog.filter().testFlag(QDir::Hidden));
    QVERIFY(dialog.filter().testFlag(QDir::Dirs));
    QCOMPARE(QDir(dialog.directory()).canonicalPath(), QDir(start).canonicalPath());

    QVERIFY(QMetaObject::invokeMethod(&dialog, "accept")); // what OK does
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.selectedFiles().size(), 1);
    QCOMPARE(QDir(dialog.selectedFiles().first()).canonicalPath(), QDir(start).canonicalPath());
}

void TestChoosers::presetFolderAnswersInstead()
{
    Choosers::setNextFolder(QStringLiteral("/games/AO"));
    QCOMPARE(Choosers::chooseFolder(nullptr, QStringLiteral("Where?"), QStringLiteral("/start")),
             QStringLiteral("/games/AO"));
    QCOMPARE(Choosers::lastFolderCaption(), QStringLiteral("Where?"));
    QCOMPARE(Choosers::lastFolderStart(), QStringLiteral("/start"));
    QCOMPARE(Choosers::pendingResults(), 0);
    Choosers::clearResults();
}

QTEST_MAIN(TestChoosers)
#include "TestChoosers.moc"
