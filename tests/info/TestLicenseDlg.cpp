// SPDX-License-Identifier: GPL-3.0-or-later
#include "info/LicenseDlg.h"

#include "common/DebugLines.h"
#include "common/Files.h"
#include "common/WorkFolder.h"

#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QVBoxLayout>
#include <QtTest>

namespace
{

// The page's one text box.
QTextEdit* textEditOf(const LicenseDlg& page)
{
    return page.findChild<QTextEdit*>();
}

} // namespace

class TestLicenseDlg : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void showsTheFileReadOnlyAndUnwrapped();
    void opensEmptyWithoutTheFile();
    void logsTheTabStopOncePerPage();
    void showsTheShippedLicence();

private:
    std::unique_ptr<WorkFolder> work;
};

void TestLicenseDlg::init()
{
    work = std::make_unique<WorkFolder>();
    QVERIFY(work->isValid());
}

void TestLicenseDlg::cleanup()
{
    work.reset();
}

void TestLicenseDlg::showsTheFileReadOnlyAndUnwrapped()
{
    const QByteArray longLine = QByteArray(400, 'x');
    const QByteArray text = "Preamble\r\n\tindented \xc2\xa9 line\r\n" + longLine + "\r\n";
    put(QStringLiteral("LICENSE.GPL"), text);
    QTest::ignoreMessage(QtDebugMsg, "TabStop at 30");
    LicenseDlg page;
    page.resize(300, 200);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));

    // CR LF line ends show as plain line breaks; the bytes are read in the locale's
    // encoding.
    QString expected = QString::fromLocal8Bit(text);
    expected.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QCOMPARE(textEditOf(page)->toPlainText(), expected);

    QVERIFY(textEditOf(page)->isReadOnly());
    QTest::keyClicks(textEditOf(page)->viewport(), QStringLiteral("typed"));
    QCOMPARE(textEditOf(page)->toPlainText(), expected);

    QCOMPARE(textEditOf(page)->lineWrapMode(), QTextEdit::NoWrap);
    const QTextBlock longBlock = textEditOf(page)->document()->findBlockByNumber(2);
    QCOMPARE(longBlock.text().size(), longLine.size());
    QCOMPARE(longBlock.layout()->lineCount(), 1);
    QVERIFY(textEditOf(page)->horizontalScrollBar()->maximum() > 0);
    QCOMPARE(textEditOf(page)->tabStopDistance(), 30.0);
    QCOMPARE(page.QWidget::layout()->spacing(), 3);
    QCOMPARE(page.QWidget::layout()->contentsMargins(), QMargins(5, 5, 5, 5));
}

void TestLicenseDlg::opensEmptyWithoutTheFile()
{
    QTest::ignoreMessage(QtDebugMsg, "TabStop at 30");
    LicenseDlg page;
    QVERIFY(textEditOf(page)->toPlainText().isEmpty());
    QVERIFY(textEditOf(page)->isReadOnly());

    // A folder of that name is no licence either.
    QVERIFY(QDir().mkdir(QStringLiteral("LICENSE.GPL")));
    QTest::ignoreMessage(QtDebugMsg, "TabStop at 30");
    LicenseDlg other;
    QVERIFY(textEditOf(other)->toPlainText().isEmpty());

    // Nor is a file too large to be one.
    QVERIFY(QDir().rmdir(QStringLiteral("LICENSE.GPL")));
    put(QStringLiteral("LICENSE.GPL"), QByteArray(int(LicenseDlg::maxSize) + 1, 'x'));
    QTest::ignoreMessage(QtDebugMsg, "TabStop at 30");
    LicenseDlg large;
    QVERIFY(textEditOf(large)->toPlainText().isEmpty());
}

void TestLicenseDlg::logsTheTabStopOncePerPage()
{
    DebugLines debug;
    {
        LicenseDlg first;
        LicenseDlg second;
    }
    const QString line = QStringLiteral("TabStop at 30");
    QCOMPARE(debug.lines, (QStringList{line, line}));
}

void TestLicenseDlg::showsTheShippedLicence()
{
    QVERIFY(QFile::copy(besideTest(QStringLiteral("LICENSE.GPL")), QStringLiteral("LICENSE.GPL")));
    QTest::ignoreMessage(QtDebugMsg, "TabStop at 30");
    LicenseDlg page;
    const QString text = textEditOf(page)->toPlainText();
    QVERIFY(text.contains(QLatin1String("GNU GENERAL PUBLIC LICENSE")));
    QVERIFY(text.contains(QLatin1String("Version 3, 29 June 2007")));
    QVERIFY(text.contains(QLatin1String("END OF TERMS AND CONDITIONS")));
}

QTEST_MAIN(TestLicenseDlg)
#include "TestLicenseDlg.moc"
