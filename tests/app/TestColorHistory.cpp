// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ColorHistory.h"

#include <QSignalSpy>
#include <QtTest>

namespace
{

// "name=value" per entry.
QList<AOColor> texts(const QStringList& entries)
{
    QList<AOColor> list;
    for (const QString& entry : entries) {
        AOColor color;
        color.name = entry.section(QLatin1Char('='), 0, 0);
        color.value = entry.section(QLatin1Char('='), 1);
        list.append(color);
    }
    return list;
}

QStringList entries(const QList<AOColor>& list)
{
    QStringList text;
    for (const AOColor& color : list)
        text << color.name + QLatin1Char('=') + color.value;
    return text;
}

} // namespace

class TestColorHistory : public QObject
{
    Q_OBJECT

private slots:
    void recordsOnlyChangedTexts_data();
    void recordsOnlyChangedTexts();
};

// A change that left every text as it was is no step; a step is named by the chat
// group the player knows, and the Save button's tip follows the step Ctrl+Z would take.
void TestColorHistory::recordsOnlyChangedTexts_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("tip"); // empty: no step

    QTest::newRow("same texts") << QStringList{"CCClanColor=red"} << QStringList{"CCClanColor=red"}
                                << "CCClanColor"
                                << "";
    QTest::newRow("same colour, other text") << QStringList{"CCClanColor=#FF0000"}
                                             << QStringList{"CCClanColor=0xFF0000"} << "CCClanColor"
                                             << "Ctrl+Z undoes: Guild chat";
    QTest::newRow("name of no chat group")
        << QStringList{"clan_third=red"} << QStringList{"clan_third=blue"} << "clan_third"
        << "Ctrl+Z undoes: clan_third";
    QTest::newRow("one of two names changed")
        << QStringList{"ctch_tell=red", "CCTellColor=red"}
        << QStringList{"ctch_tell=red", "CCTellColor=blue"} << "ctch_tell"
        << "Ctrl+Z undoes: Private tells";
}

void TestColorHistory::recordsOnlyChangedTexts()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QFETCH(QString, name);
    QFETCH(QString, tip);
    ColorHistory history;
    QSignalSpy tips(&history, &ColorHistory::saveTipChanged);
    QList<QList<AOColor>> applied;
    const auto apply = [&applied](const QList<AOColor>& texts) { applied.append(texts); };

    QCOMPARE(history.record(ColorHistory::stepName(name), texts(before), texts(after), apply),
             !tip.isEmpty());
    QCOMPARE(history.count(), tip.isEmpty() ? 0 : 1);
    // The change was made before it was recorded.
    QVERIFY(applied.isEmpty());
    QCOMPARE(tips.isEmpty() ? QString() : tips.last().value(0).toString(), tip);
    if (tip.isEmpty())
        return;

    history.undo();
    history.redo();
    QCOMPARE(applied.size(), 2);
    QCOMPARE(entries(applied.at(0)), before);
    QCOMPARE(entries(applied.at(1)), after);
    history.clear();
    QCOMPARE(history.count(), 0);
    QCOMPARE(tips.last().value(0).toString(), QString());
}

QTEST_MAIN(TestColorHistory)
#include "TestColorHistory.moc"
