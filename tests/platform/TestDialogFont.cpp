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
    // Which fonts the offscreen platform knows differs from the real one under Wine,
    // so the substitution is checked here and its rendering by scripts/try-windows.sh.
    const QFont font = DialogFont::resolved(alias);
    QCOMPARE(font.family(), real);
    QCOMPARE(font.pointSize(), 8);

    QApplication::setFont(alias);
    DialogFont::apply();
    QCOMPARE(QApplication::font().family(), real);
#else
    QVERIFY(DialogFont::substitute(QStringLiteral("MS Shell Dlg 2")).isEmpty());
#endif
}

QTEST_MAIN(TestDialogFont)
#include "TestDialogFont.moc"
