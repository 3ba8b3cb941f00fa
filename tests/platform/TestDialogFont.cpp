// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DialogFont.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QtTest>

class TestDialogFont : public QObject
{
    Q_OBJECT

private slots:
    void foundFamilyStaysAsItIs();
    void unknownFamilyWithoutSubstituteStays();
    void windowsDialogAliasBecomesARealFont();
};

void TestDialogFont::foundFamilyStaysAsItIs()
{
    const QStringList families = QFontDatabase().families();
    QVERIFY(!families.isEmpty());
    const QFont font(families.first(), 9);
    QCOMPARE(DialogFont::resolved(font), font);
}

void TestDialogFont::unknownFamilyWithoutSubstituteStays()
{
    const QFont font(QStringLiteral("No Such Family Anywhere"), 9);
    QVERIFY(DialogFont::substitute(font.family()).isEmpty());
    QCOMPARE(DialogFont::resolved(font), font);
}

// Under Wine the alias would otherwise come out in a maths font whose lines are
// several times as tall as its letters.
void TestDialogFont::windowsDialogAliasBecomesARealFont()
{
#ifdef Q_OS_WIN
    const QFont alias(QStringLiteral("MS Shell Dlg 2"), 8);
    const QString real = DialogFont::substitute(alias.family());
    QVERIFY(!real.isEmpty());
    const QFont font = DialogFont::resolved(alias);
    QCOMPARE(QFontInfo(font).family(), real);
    QCOMPARE(font.pointSize(), 8);
    const QFontMetrics metrics(font);
    QVERIFY2(metrics.lineSpacing() < 2 * QFontInfo(font).pixelSize(),
             qPrintable(QString::number(metrics.lineSpacing())));

    QApplication::setFont(alias);
    DialogFont::apply();
    QCOMPARE(QFontInfo(QApplication::font()).family(), real);
#else
    QVERIFY(DialogFont::substitute(QStringLiteral("MS Shell Dlg 2")).isEmpty());
#endif
}

QTEST_MAIN(TestDialogFont)
#include "TestDialogFont.moc"
