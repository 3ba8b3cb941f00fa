// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/Choosers.h"

#include "common/RealDialogs.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QtTest>

class TestChoosers : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void presetFoldersComeInOrderAndRecordTheRequest();
    void presetColorsComeInOrderAndRecordTheRequest();
    void clearedPresetsLeaveNothingBehind();
    void realFolderDialogTakesTheTypedFolder();
    void realFolderDialogCancelled();
    void realColorChooserStartsAtTheColor();
    void realColorChooserCancelled();
    void folderDialogOpensOnItsStartWithHiddenFolders();
};

void TestChoosers::cleanup()
{
    Choosers::clearResults();
}

void TestChoosers::presetFoldersComeInOrderAndRecordTheRequest()
{
    Choosers::setNextFolder(QStringLiteral("/first"));
    Choosers::setNextFolder(QString());
    Choosers::setNextColor(Qt::red);
    QCOMPARE(Choosers::pendingResults(), 3);

    QCOMPARE(Choosers::chooseFolder(nullptr, QStringLiteral("Where?"), QStringLiteral("/start")),
             QStringLiteral("/first"));
    QCOMPARE(Choosers::lastFolderCaption(), QStringLiteral("Where?"));
    QCOMPARE(Choosers::lastFolderStart(), QStringLiteral("/start"));
    // An empty folder is the player's cancel, and it is taken like any other result.
    QCOMPARE(Choosers::chooseFolder(nullptr, QStringLiteral("Again?"), QString()), QString());
    QCOMPARE(Choosers::lastFolderCaption(), QStringLiteral("Again?"));
    QCOMPARE(Choosers::lastFolderStart(), QString());
    // The colour waits for the colour chooser.
    QCOMPARE(Choosers::pendingResults(), 1);
}

void TestChoosers::presetColorsComeInOrderAndRecordTheRequest()
{
    Choosers::setNextColor(QColor(1, 2, 3));
    Choosers::setNextColor(QColor());
    QCOMPARE(Choosers::chooseColor(Qt::blue, nullptr), QColor(1, 2, 3));
    QCOMPARE(Choosers::lastColorInitial(), QColor(Qt::blue));
    QVERIFY(!Choosers::chooseColor(Qt::green, nullptr).isValid());
    QCOMPARE(Choosers::lastColorInitial(), QColor(Qt::green));
    QCOMPARE(Choosers::pendingResults(), 0);
}

void TestChoosers::clearedPresetsLeaveNothingBehind()
{
    Choosers::setNextFolder(QStringLiteral("/first"));
    Choosers::setNextColor(Qt::red);
    Choosers::chooseColor(Qt::blue, nullptr);
    Choosers::clearResults();
    QCOMPARE(Choosers::pendingResults(), 0);
    QVERIFY(!Choosers::lastColorInitial().isValid());
    QCOMPARE(Choosers::lastFolderCaption(), QString());
}

// With nothing queued, the real dialog opens where it was asked to, with the caption.
void TestChoosers::realFolderDialogTakesTheTypedFolder()
{
#ifdef Q_OS_WIN
    QSKIP("Windows' own folder dialog is no Qt widget to drive");
#endif
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString start = dir.filePath(QStringLiteral("start"));
    const QString wanted = dir.filePath(QStringLiteral("Anarchy Online"));
    QVERIFY(QDir().mkpath(start) && QDir().mkpath(wanted));

    QString title;
    QString opened;
    RealDialogs::whenModal([&](QWidget* dialog) {
        title = dialog->windowTitle();
        if (auto* files = qobject_cast<QFileDialog*>(dialog))
            opened = files->directory().absolutePath();
        RealDialogs::chooseFolder(dialog, wanted);
    });
    const QString chosen = Choosers::chooseFolder(nullptr, QStringLiteral("Where is it?"), start);
    QCOMPARE(title, QStringLiteral("Where is it?"));
    QCOMPARE(opened, start);
    QCOMPARE(QDir::fromNativeSeparators(chosen), wanted);
}

void TestChoosers::realFolderDialogCancelled()
{
#ifdef Q_OS_WIN
    QSKIP("Windows' own folder dialog is no Qt widget to drive");
#endif
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    RealDialogs::whenModal([](QWidget* dialog) {
        QVERIFY(qobject_cast<QFileDialog*>(dialog));
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    QCOMPARE(Choosers::chooseFolder(nullptr, QStringLiteral("Where?"), dir.path()), QString());
}

void TestChoosers::realColorChooserStartsAtTheColor()
{
    QColor shown;
    RealDialogs::whenModal([&](QWidget* dialog) {
        auto* chooser = qobject_cast<QColorDialog*>(dialog);
        QVERIFY2(chooser, "expected the colour chooser");
        shown = chooser->currentColor();
        chooser->setCurrentColor(QColor(1, 2, 3));
        chooser->accept();
    });
    QCOMPARE(Choosers::chooseColor(QColor(0x40, 0xff, 0x80), nullptr), QColor(1, 2, 3));
    QCOMPARE(shown, QColor(0x40, 0xff, 0x80));
}

void TestChoosers::realColorChooserCancelled()
{
    RealDialogs::whenModal([](QWidget* dialog) {
        QVERIFY(qobject_cast<QColorDialog*>(dialog));
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    QVERIFY(!Choosers::chooseColor(Qt::red, nullptr).isValid());
}

// The dialog the player sees: one folder, hidden folders listed, and OK without
// picking anything takes the folder it opened at (a found install).
void TestChoosers::folderDialogOpensOnItsStartWithHiddenFolders()
{
#ifdef Q_OS_WIN
    QSKIP("Windows' own folder dialog is no Qt widget to drive");
#endif
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

QTEST_MAIN(TestChoosers)
#include "TestChoosers.moc"
