// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/Messages.h"

#include "common/RealDialogs.h"

#include "Version.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QtTest>

class TestMessages : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void questionIsAWarningWithYesThenNo_data();
    void questionIsAWarningWithYesThenNo();
    void returnAloneDoesNotSayYes();
    void warningIsAWarningWithOk();
    void queuedAnswersComeInOrderAndRecordTheText();
    void responderAnswersWhatTheQueueDoesNot();
};

void TestMessages::cleanup()
{
    Messages::clearAnswers();
}

void TestMessages::questionIsAWarningWithYesThenNo_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("yes");
    QTest::newRow("Yes") << int(QMessageBox::Yes) << true;
    QTest::newRow("No") << int(QMessageBox::No) << false;
}

// The real box: nothing is queued.
void TestMessages::questionIsAWarningWithYesThenNo()
{
    QFETCH(int, button);
    QFETCH(bool, yes);
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    RealDialogs::whenModal([&](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        QVERIFY2(box, "expected a message box");
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        box->button(QMessageBox::StandardButton(button))->click();
    });
    QCOMPARE(Messages::askYesNo(nullptr, QStringLiteral("Restore?")), yes);
    QCOMPARE(title, QStringLiteral("Tintwell v") + QLatin1String(Version::shown));
    QCOMPARE(text, QStringLiteral("Restore?"));
    QCOMPARE(icon, QMessageBox::Warning);
    QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No);
    QVERIFY(Messages::takeShown().isEmpty());
}

void TestMessages::returnAloneDoesNotSayYes()
{
    bool shown = false;
    RealDialogs::whenModal([&](QWidget* dialog) {
        shown = qobject_cast<QMessageBox*>(dialog);
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    QVERIFY(!Messages::askYesNo(nullptr, QStringLiteral("Overwrite?")));
    QVERIFY(shown);
}

void TestMessages::warningIsAWarningWithOk()
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QString title;
    RealDialogs::whenModal([&](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        QVERIFY2(box, "expected a message box");
        icon = box->icon();
        buttons = box->standardButtons();
        title = box->windowTitle();
        box->button(QMessageBox::Ok)->click();
    });
    Messages::warn(nullptr, QStringLiteral("Not saved."));
    QCOMPARE(icon, QMessageBox::Warning);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(title, QStringLiteral("Tintwell v") + QLatin1String(Version::shown));
}

void TestMessages::queuedAnswersComeInOrderAndRecordTheText()
{
    Messages::answerNext(Messages::Answer::No);
    Messages::answerNext(Messages::Answer::Yes);
    Messages::answerNext(Messages::Answer::Ok);
    Messages::answerNext(Messages::Answer::Ok);
    QCOMPARE(Messages::pendingAnswers(), 4);
    QVERIFY(!Messages::askYesNo(nullptr, QStringLiteral("first")));
    QVERIFY(Messages::askYesNo(nullptr, QStringLiteral("second")));
    Messages::warn(nullptr, QStringLiteral("third"));
    // An answer meant for a warning never says Yes to a question.
    QVERIFY(!Messages::askYesNo(nullptr, QStringLiteral("fourth")));
    QCOMPARE(Messages::pendingAnswers(), 0);
    QCOMPARE(Messages::takeShown(), (QStringList{"first", "second", "third", "fourth"}));
    QVERIFY(Messages::takeShown().isEmpty());
}

void TestMessages::responderAnswersWhatTheQueueDoesNot()
{
    QStringList asked;
    Messages::setResponder([&](const QString& text) {
        asked << text;
        return text.endsWith(QLatin1Char('?')) ? Messages::Answer::Yes : Messages::Answer::Ok;
    });
    Messages::answerNext(Messages::Answer::No);
    QVERIFY(!Messages::askYesNo(nullptr, QStringLiteral("queued?")));
    QVERIFY(Messages::askYesNo(nullptr, QStringLiteral("responded?")));
    Messages::warn(nullptr, QStringLiteral("warned"));
    QCOMPARE(asked, (QStringList{"responded?", "warned"}));
    QCOMPARE(Messages::takeShown(), (QStringList{"queued?", "responded?", "warned"}));

    // Cleared, the real box is back.
    Messages::clearAnswers();
    RealDialogs::whenModal([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    QVERIFY(!Messages::askYesNo(nullptr, QStringLiteral("real?")));
    QCOMPARE(asked.size(), 2);
}

QTEST_MAIN(TestMessages)
#include "TestMessages.moc"
