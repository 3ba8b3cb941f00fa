// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsDlg.h"

#include "common/ModalDriver.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class TestSettingsDlg : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void warningFollowsTypedText();
    void setModeEmitsOnceOrTwice();
    void checkAOPathAsksUntilValidOrCancelled();
    void checkAOPathAcceptsValidFolderWithoutAsking();
    void backgroundButtonSendsBackground();

private:
    QString makeGameFolder(const QString& name);

    std::unique_ptr<QTemporaryDir> dir;
};

void TestSettingsDlg::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

QString TestSettingsDlg::makeGameFolder(const QString& name)
{
    const QString game = dir->filePath(name);
    QDir().mkpath(game + QStringLiteral("/cd_image/gui/default"));
    QFile file(game + QStringLiteral("/cd_image/gui/default/TextColors.xml"));
    file.open(QIODevice::WriteOnly);
    file.write("<Root/>");
    return game;
}

void TestSettingsDlg::warningFollowsTypedText()
{
    const QString game = makeGameFolder(QStringLiteral("AO"));
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
    const QString game = makeGameFolder(QStringLiteral("Anarchy Online"));
    const QString empty = dir->filePath(QStringLiteral("empty"));
    QDir().mkpath(empty);

    {
        SettingsDlg page;
        ModalDriver driver;
        driver.then(ModalDriver::chooseFolder(empty)).then(ModalDriver::chooseFolder(game));
        QVERIFY(page.checkAOPath());
        QCOMPARE(driver.handled(), 2);
        QCOMPARE(page.aoPath(), QDir::toNativeSeparators(game));
    }
    {
        SettingsDlg page;
        ModalDriver driver;
        driver.then(ModalDriver::chooseFolder(empty)).then(ModalDriver::reject());
        QVERIFY(!page.checkAOPath());
        QCOMPARE(driver.handled(), 2);
        QCOMPARE(page.aoPath(), QDir::toNativeSeparators(empty));
    }
}

void TestSettingsDlg::checkAOPathAcceptsValidFolderWithoutAsking()
{
    const QString game = makeGameFolder(QStringLiteral("AO"));
    SettingsDlg page;
    page.setAOPath(game);
    ModalDriver driver;
    driver.then(ModalDriver::reject());
    QVERIFY(page.checkAOPath());
    QCOMPARE(driver.handled(), 0);
}

void TestSettingsDlg::backgroundButtonSendsBackground()
{
    SettingsDlg page;
    QSignalSpy spy(&page, &SettingsDlg::pickColor);
    page.findChild<QPushButton*>(QStringLiteral("bgButton"))->click();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("background"));
}

QTEST_MAIN(TestSettingsDlg)
#include "TestSettingsDlg.moc"
