// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/FolderAccess.h"

#include "common/Mounts.h"
#include "dialogs/Messages.h"
#include "platform/WriteProbe.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class TestFolderAccess : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void loadSaysAtOnceAndOffersARestart_data();
    void loadSaysAtOnceAndOffersARestart();
};

void TestFolderAccess::cleanup()
{
    Messages::clearAnswers();
}

void TestFolderAccess::loadSaysAtOnceAndOffersARestart_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("offered"); // whether restarting can help here
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("starts"); // whether the restart starts
    QTest::addColumn<int>("boxes");

    QTest::newRow("writable: nothing said") << false << true << true << true << 0;
    QTest::newRow("read-only, no restart: one warning") << true << false << true << true << 1;
    QTest::newRow("read-only, restart declined") << true << true << false << true << 1;
    QTest::newRow("read-only, restarted: this one closes") << true << true << true << true << 1;
    QTest::newRow("read-only, restart refused: says why, stays")
        << true << true << true << false << 2;
}

void TestFolderAccess::loadSaysAtOnceAndOffersARestart()
{
    QFETCH(bool, readOnly);
    QFETCH(bool, offered);
    QFETCH(bool, yes);
    QFETCH(bool, starts);
    QFETCH(int, boxes);
    // Only a Yes to an offered restart tries one, and only one that starts closes this.
    const int restarts = readOnly && offered && yes;
    const bool closes = restarts && starts;

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("default"));
    QVERIFY(QDir().mkpath(folder));
    std::unique_ptr<ReadOnlyBind> bind;
    if (readOnly) {
        bind = std::make_unique<ReadOnlyBind>(folder);
        if (!bind->mounted)
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        if (WriteProbe::canCreateIn(folder))
            QSKIP("no folder this process may not write can be made here");
    }
    // The probe leaves nothing behind.
    QCOMPARE(WriteProbe::canCreateIn(folder), !readOnly);
    QVERIFY(QDir(folder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));

    int prepared = 0;
    int started = 0;
    FolderAccess::Restart restart;
    if (offered)
        restart = [&](QString* error) {
            ++started;
            *error = QStringLiteral("The operation was canceled by the user.");
            return starts;
        };
    for (int i = 0; i < boxes; ++i)
        Messages::answerNext(yes ? Messages::Answer::Yes : Messages::Answer::No);
    QCOMPARE(FolderAccess::checkAtLoad(
                 nullptr, folder, [&] { ++prepared; }, restart),
             closes);
    QCOMPARE(Messages::pendingAnswers(), 0);
    const QStringList shown = Messages::takeShown();
    QCOMPARE(shown.size(), boxes);
    QCOMPARE(started, restarts);
    QCOMPARE(prepared, restarts);
    QCOMPARE(FolderAccess::advice(folder).contains(QDir::toNativeSeparators(folder)), readOnly);
    if (readOnly)
        QCOMPARE(shown.first().endsWith(QLatin1String("as administrator now?")), offered);
    if (boxes == 2)
        QVERIFY(shown.last().contains(QLatin1String("canceled by the user")));
}

QTEST_MAIN(TestFolderAccess)
#include "TestFolderAccess.moc"
