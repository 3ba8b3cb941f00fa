// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/AOColor.h"

#include <QtTest>

class TestAOColor : public QObject
{
    Q_OBJECT

private slots:
    void readsAndFormatsColorTexts_data();
    void readsAndFormatsColorTexts();
    void copyReadsTextAgainButAssignmentCopiesFields();
    void hexEightKeepsItsLengthButLosesFirstPair();
    void strangeTextsStayInRange_data();
    void strangeTextsStayInRange();
};

void TestAOColor::readsAndFormatsColorTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::addColumn<QColor>("display");
    QTest::addColumn<QString>("afterSetColor");

    const QColor invalid;
    QTest::newRow("hex8") << "0x00FF8000" << int(AOColor::Hex8) << 255 << 128 << 0
                          << QColor(255, 128, 0) << "0x00010203";
    QTest::newRow("hex8 first pair ignored") << "0x80FF8000" << int(AOColor::Hex8) << 255 << 128
                                             << 0 << QColor(255, 128, 0) << "0x00010203";
    QTest::newRow("hex6") << "0xFF8000" << int(AOColor::Hex6) << 255 << 128 << 0
                          << QColor(255, 128, 0) << "0x010203";
    QTest::newRow("hash six") << "#ff8000" << int(AOColor::Hex6) << 255 << 128 << 0
                              << QColor(255, 128, 0) << "0x010203";
    QTest::newRow("hash eight") << "#FFFFFF00" << int(AOColor::Hex6) << 255 << 255 << 0
                                << QColor(255, 255, 0) << "0x010203";
    QTest::newRow("short pieces overlap")
        << "0x12345" << int(AOColor::Hex6) << 18 << 52 << 69 << QColor(18, 52, 69) << "0x010203";
    QTest::newRow("not hex reads 0")
        << "0xGG8000" << int(AOColor::Hex6) << 0 << 128 << 0 << QColor(0, 128, 0) << "0x010203";
    QTest::newRow("bare prefix") << "0x" << int(AOColor::Hex6) << 0 << 0 << 0 << QColor(0, 0, 0)
                                 << "0x010203";
    QTest::newRow("capital X") << "0XFF8000" << int(AOColor::Named) << -1 << -1 << -1 << invalid
                               << "0x010203";
    QTest::newRow("colour name") << "black" << int(AOColor::Named) << -1 << -1 << -1
                                 << QColor(Qt::black) << "0x010203";
    QTest::newRow("empty") << "" << int(AOColor::Named) << -1 << -1 << -1 << invalid << "0x010203";
    QTest::newRow("leading blank")
        << " 0xFF8000" << int(AOColor::Named) << -1 << -1 << -1 << invalid << "0x010203";
    QTest::newRow("last x decides") << "0x11x223344" << int(AOColor::Hex6) << 34 << 51 << 68
                                    << QColor(34, 51, 68) << "0x010203";
}

void TestAOColor::readsAndFormatsColorTexts()
{
    QFETCH(QString, text);
    QFETCH(int, format);
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QFETCH(QColor, display);
    QFETCH(QString, afterSetColor);

    AOColor color;
    color.setValue(text);
    QCOMPARE(color.value, text);
    QCOMPARE(color.format, format);
    QCOMPARE(color.red, red);
    QCOMPARE(color.green, green);
    QCOMPARE(color.blue, blue);
    QCOMPARE(color.toQColor().isValid(), display.isValid());
    if (display.isValid())
        QCOMPARE(color.toQColor(), display);

    color.setColor(QColor(1, 2, 3));
    QCOMPARE(color.value, afterSetColor);
    QCOMPARE(color.toQColor(), QColor(1, 2, 3));
}

void TestAOColor::copyReadsTextAgainButAssignmentCopiesFields()
{
    AOColor plain;
    plain.name = QStringLiteral("ctch_clan");
    plain.value = QStringLiteral("0xFF8000");
    QCOMPARE(plain.format, int(AOColor::Named));
    QCOMPARE(plain.red, -1);

    const AOColor copy(plain);
    QCOMPARE(copy.name, plain.name);
    QCOMPARE(copy.format, int(AOColor::Hex6));
    QCOMPARE(copy.red, 255);

    AOColor assigned;
    assigned = plain;
    QCOMPARE(assigned.value, plain.value);
    QCOMPARE(assigned.format, int(AOColor::Named));
    QCOMPARE(assigned.red, -1);

    AOColor named;
    named.setValue(QStringLiteral("0x102030"));
    named.setValue(QStringLiteral("white"));
    const AOColor namedCopy(named);
    QCOMPARE(named.red, 16);
    QCOMPARE(namedCopy.red, -1);
}

void TestAOColor::hexEightKeepsItsLengthButLosesFirstPair()
{
    AOColor color;
    color.setValue(QStringLiteral("0xFFABCDEF"));
    color.setColor(QColor(0xab, 0xcd, 0xef));
    QCOMPARE(color.value, QStringLiteral("0x00abcdef"));
    QCOMPARE(color.format, int(AOColor::Hex8));
}

void TestAOColor::strangeTextsStayInRange_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("signs") << "0x-1-1-1";
    QTest::newRow("blanks") << "0x F F F";
    QTest::newRow("plus") << "#+f+f+f";
    QTest::newRow("long") << QString(QStringLiteral("0x") + QString(5000, QLatin1Char('f')));
    QTest::newRow("non-ascii") << QStringLiteral("#\u00e9\u00e9ffff");
    QTest::newRow("many x") << "0xxxxxxxxx";
}

void TestAOColor::strangeTextsStayInRange()
{
    QFETCH(QString, text);
    AOColor color;
    color.setValue(text);
    for (const int component : {color.red, color.green, color.blue}) {
        QVERIFY(component >= 0);
        QVERIFY(component <= 255);
    }
    QVERIFY(color.toQColor().isValid());
}

QTEST_GUILESS_MAIN(TestAOColor)
#include "TestAOColor.moc"
