// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ColorHistory.h"

#include <QSignalSpy>
#include <QtTest>

class TestColorHistory : public QObject
{
    Q_OBJECT

private slots:
    void recordsOnlyChangedTexts_data();
    void recordsOnlyChangedTexts();
};

// A change that left its text as it was is no step; a step is named by the chat group
// the player knows, and the Save button's tip follows the step Ctrl+Z would take back.
void TestColorHistory::recordsOnlyChangedTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("texts"); // before and after
    QTest::addColumn<QString>("tip");       // empty: no step

    QTest::newRow("same text") << "CCClanColor" << QStringList{"red", "red"} << "";
    QTest::newRow("same colour, other text")
        << "CCClanColor" << QStringList{"#FF0000", "0xFF0000"} << "Ctrl+Z undoes: Guild chat";
    QTest::newRow("no chat group")
        << "clan_third" << QStringList{"red", "blue"} << "Ctrl+Z undoes: clan_third";
}

void TestColorHistory::recordsOnlyChangedTexts()
{
    QFETCH(QString, name);
    QFETCH(QStringList, texts);
    QFETCH(QString, tip);
    const auto entry = [&name](const QString& text) {
        AOColor color;
        color.name = name;
        color.value = text;
        return QList<AOColor>{color};
    };
    ColorHistory history;
    QSignalSpy tips(&history, &ColorHistory::saveTipChanged);
    const auto lastTip = [&tips] {
        return tips.isEmpty() ? QString() : tips.last().value(0).toString();
    };
    QStringList applied;
    const auto apply = [&applied](const QList<AOColor>& set) { applied << set.value(0).value; };

    QCOMPARE(history.record(ColorHistory::stepName(name), entry(texts.first()), entry(texts.last()),
                            apply),
             !tip.isEmpty());
    QCOMPARE(history.count(), tip.isEmpty() ? 0 : 1);
    QCOMPARE(lastTip(), tip);
    // The change was made before it was recorded: only undo and redo apply texts.
    history.undo();
    history.redo();
    QCOMPARE(applied, tip.isEmpty() ? QStringList() : texts);
    history.clear();
    QCOMPARE(lastTip(), QString());
}

QTEST_MAIN(TestColorHistory)
#include "TestColorHistory.moc"
