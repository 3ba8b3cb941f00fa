// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/AOColors.h"

#include <QtTest>

namespace
{

AOColor entry(const QString& name, const QString& value)
{
    AOColor color;
    color.name = name;
    color.value = value;
    return color;
}

} // namespace

class TestAOColors : public QObject
{
    Q_OBJECT

private slots:
    void init() { aoColors.clear(); }
    void appendingReadsTheText();
    void findIsExactAndFirstWins();
    void updateChangesOnlyTheFirstAndNeverAppends();
    void schemeSkipsNamelessEntries();
};

void TestAOColors::appendingReadsTheText()
{
    aoColors.append(entry(QStringLiteral("a"), QStringLiteral("#102030")));
    QCOMPARE(aoColors.at(0).format, int(AOColor::Hex6));
    QCOMPARE(aoColors.at(0).blue, 0x30);
}

void TestAOColors::findIsExactAndFirstWins()
{
    QCOMPARE(aoColors.find(QStringLiteral("a")).toQColor().isValid(), false);

    aoColors.append(entry(QStringLiteral("ctch_clan"), QStringLiteral("0x010101")));
    aoColors.append(entry(QStringLiteral("ctch_clan"), QStringLiteral("0x020202")));
    aoColors.append(entry(QStringLiteral("ctch_tell"), QStringLiteral("white")));

    QCOMPARE(aoColors.find(QStringLiteral("ctch_clan")).value, QStringLiteral("0x010101"));
    QCOMPARE(aoColors.find(QStringLiteral("ctch_tell")).toQColor(), QColor(Qt::white));

    const AOColor missing = aoColors.find(QStringLiteral("CTCH_CLAN"));
    QVERIFY(missing.name.isEmpty());
    QVERIFY(missing.value.isEmpty());
    QCOMPARE(missing.red, -1);
    QVERIFY(!missing.toQColor().isValid());
    QVERIFY(aoColors.find(QStringLiteral("ctch_clan ")).name.isEmpty());
}

void TestAOColors::updateChangesOnlyTheFirstAndNeverAppends()
{
    aoColors.append(entry(QStringLiteral("x"), QStringLiteral("0x010101")));
    aoColors.append(entry(QStringLiteral("x"), QStringLiteral("0x020202")));

    AOColor changed = aoColors.find(QStringLiteral("x"));
    changed.setColor(QColor(0xaa, 0xbb, 0xcc));
    QVERIFY(aoColors.update(changed));
    QCOMPARE(aoColors.at(0).value, QStringLiteral("0xaabbcc"));
    QCOMPARE(aoColors.at(1).value, QStringLiteral("0x020202"));

    QVERIFY(!aoColors.update(entry(QStringLiteral("X"), QStringLiteral("0xffffff"))));
    QVERIFY(!aoColors.update(AOColor()));
    QCOMPARE(aoColors.size(), 2);
    QCOMPARE(aoColors.at(0).value, QStringLiteral("0xaabbcc"));
}

QTEST_GUILESS_MAIN(TestAOColors)
// A scheme entry without a name (a misspelt NAME=) names nothing: it must neither
// recolour the game's own nameless entry nor count as a name.
void TestAOColors::schemeSkipsNamelessEntries()
{
    aoColors << entry(QString(), QStringLiteral("0x111111"))
             << entry(QStringLiteral("ctch_clan"), QStringLiteral("0x222222"));
    AOColors scheme;
    scheme << entry(QString(), QStringLiteral("red"))
           << entry(QStringLiteral("ctch_clan"), QStringLiteral("blue"));
    int shared = -1;
    int unknown = -1;
    const QList<AOColor> changes = aoColors.schemeChanges(scheme, &shared, &unknown);
    QCOMPARE(changes.size(), 1);
    QCOMPARE(changes.first().name, QStringLiteral("ctch_clan"));
    QCOMPARE(shared, 1);
    QCOMPARE(unknown, 0);
}

#include "TestAOColors.moc"
