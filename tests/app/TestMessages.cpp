// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Messages.h"

#include "common/ModalDriver.h"

#include <QtTest>

class TestMessages : public QObject
{
    Q_OBJECT

private slots:
    void questionIsAWarningWithYesThenNo();
    void returnAloneDoesNotSayYes();
};

void TestMessages::questionIsAWarningWithYesThenNo()
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QAbstractButton*> buttons;
    ModalDriver driver;
    driver.then([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        QVERIFY(box);
        icon = box->icon();
        buttons = box->buttons();
        QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        box->button(QMessageBox::Yes)->click();
    });
    QVERIFY(Messages::askYesNo(nullptr, QStringLiteral("Restore?")));
    QCOMPARE(icon, QMessageBox::Warning);
    QCOMPARE(driver.titles(), QStringList{QStringLiteral("Tintwell v0.3")});
    QCOMPARE(driver.texts(), QStringList{QStringLiteral("Restore?")});

    driver.then(ModalDriver::answer(QMessageBox::No));
    QVERIFY(!Messages::askYesNo(nullptr, QStringLiteral("Restore?")));
}

void TestMessages::returnAloneDoesNotSayYes()
{
    ModalDriver driver;
    driver.then([](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); });
    QVERIFY(!Messages::askYesNo(nullptr, QStringLiteral("Overwrite?")));
    QCOMPARE(driver.handled(), 1);
}

QTEST_MAIN(TestMessages)
#include "TestMessages.moc"
