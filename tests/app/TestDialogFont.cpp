// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DialogFont.h"
#include "platform/FontSubstitutes.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QtTest>

#ifdef Q_OS_WIN
namespace
{

// The maths font Qt falls back to under Wine has lines about four times as tall as its
// letters; every font meant for a dialog stays well under twice.
bool plainLines(const QFont& font)
{
    return QFontMetrics(font).height() < 2 * QFontInfo(font).pixelSize();
}

} // namespace
#endif

class TestDialogFont : public QObject
{
    Q_OBJECT

private slots:
    void foundFamilyStaysAsItIs();
    void missingFamilyBecomesAPlainOne();
    void windowsDialogAliasIsReadable();
};

void TestDialogFont::foundFamilyStaysAsItIs()
{
    const QStringList families = QFontDatabase().families();
    QVERIFY(!families.isEmpty());
    const QFont font(families.first(), 9);
    QCOMPARE(DialogFont::resolved(font), font);
}

void TestDialogFont::missingFamilyBecomesAPlainOne()
{
    const QFont font(QStringLiteral("No Such Family Anywhere"), 9);
    QVERIFY(FontSubstitutes::of(font.family()).isEmpty());
    const QFont fixed = DialogFont::resolved(font);
#ifdef Q_OS_WIN
    QVERIFY2(DialogFont::candidates(font.family()).contains(fixed.family()),
             qPrintable(fixed.family()));
    QCOMPARE(QFontInfo(fixed).family(), fixed.family());
    QCOMPARE(fixed.pointSize(), 9);
    QVERIFY(plainLines(fixed));
#else
    // fontconfig picks a sensible fallback by itself.
    QCOMPARE(fixed, font);
#endif
}

void TestDialogFont::windowsDialogAliasIsReadable()
{
#ifdef Q_OS_WIN
    const QFont alias(QStringLiteral("MS Shell Dlg 2"), 8);
    QVERIFY(!FontSubstitutes::of(alias.family()).isEmpty());
    QCOMPARE(DialogFont::candidates(alias.family()).first(), FontSubstitutes::of(alias.family()));
    QApplication::setFont(alias);
    DialogFont::apply();
    QCOMPARE(QApplication::font().pointSize(), 8);
    QVERIFY2(plainLines(QApplication::font()),
             qPrintable(QFontInfo(QApplication::font()).family()));
#else
    QVERIFY(FontSubstitutes::of(QStringLiteral("MS Shell Dlg 2")).isEmpty());
    QVERIFY(DialogFont::candidates(QStringLiteral("MS Shell Dlg 2")).isEmpty());
#endif
}

QTEST_MAIN(TestDialogFont)
#include "TestDialogFont.moc"
