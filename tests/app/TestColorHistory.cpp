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
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("tip"); // empty: no step

    QTest::newRow("same text") << "CCClanColor"
                               << "red"
                               << "red"
                               << "";
    QTest::newRow("same colour, other text") << "CCClanColor"
                                             << "#FF0000"
                                             << "0xFF0000"
                                             << "Ctrl+Z undoes: Guild chat";
    QTest::newRow("no chat group") << "clan_third"
                                   << "red"
                                   << "blue"
                                   << "Ctrl+Z undoes: clan_third";
}

void TestColorHistory::recordsOnlyChangedTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, before);
    QFETCH(QString, after);
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
    const auto apply = [&applied](const QList<AOColor>& texts) { applied << texts.value(0).value; };

    QCOMPARE(history.record(ColorHistory::stepName(name), entry(before), entry(after), apply),
             !tip.isEmpty());
    QCOMPARE(history.count(), tip.isEmpty() ? 0 : 1);
    QCOMPARE(lastTip(), tip);
    // The change was made before it was recorded: only undo and redo apply texts.
    history.undo();
    history.redo();
    const QStringList both{before, after};
    QCOMPARE(applied, tip.isEmpty() ? QStringList() : both);
    history.clear();
    QCOMPARE(lastTip(), QString());
}

QTEST_MAIN(TestColorHistory)
#include "TestColorHistory.moc"
