// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SchemeMerge.h"

#include "model/AOColors.h"

#include <QtTest>

namespace
{

// "name=value" per entry.
AOColors table(const QStringList& entries)
{
    AOColors colors;
    for (const QString& entry : entries) {
        AOColor color;
        color.name = entry.section(QLatin1Char('='), 0, 0);
        color.setValue(entry.section(QLatin1Char('='), 1));
        colors.append(color);
    }
    return colors;
}

const QString file = QStringLiteral("/schemes/night.xml");

} // namespace

class TestSchemeMerge : public QObject
{
    Q_OBJECT

private slots:
    void reportsWhatChanged_data();
    void reportsWhatChanged();
};

// The report names the chat groups before the other names, each group once, and the
// first four of many; names the game lacks are counted, not taken.
void TestSchemeMerge::reportsWhatChanged_data()
{
    QTest::addColumn<QStringList>("game");
    QTest::addColumn<QStringList>("scheme");
    QTest::addColumn<QStringList>("changed");
    QTest::addColumn<QString>("report");

    const QString from = QDir::toNativeSeparators(file);
    const QString tail = QStringLiteral("\n\nSave keeps the new colors; Ctrl+Z takes them back.");
    QTest::newRow("no shared name")
        << QStringList{"ctch_clan=red"} << QStringList{"not_here=red"} << QStringList()
        << "None of the color names in\n" + from +
               "\nis in this game's TextColors.xml, so no color was changed.";
    QTest::newRow("shared, all alike")
        << QStringList{"ctch_clan=red"} << QStringList{"ctch_clan=red", "a=red", "b=red"}
        << QStringList()
        << "No color changed: this game's colors already are those of\n" + from +
               "\n\n2 names of that file are not in this game's TextColors.xml and were left out.";
    QTest::newRow("groups first, once each")
        << QStringList{"other=red", "ctch_clan=red", "CCClanColor=red"}
        << QStringList{"other=blue", "ctch_clan=blue", "CCClanColor=blue", "not_here=red"}
        << QStringList{"other", "ctch_clan", "CCClanColor"}
        << "Imported 3 colors from\n" + from + "\n\nChanged: Guild chat, other." +
               "\n\n1 name of that file is not in this game's TextColors.xml and was left out." +
               tail;
    const QStringList six{"ctch_pgroup", "ctch_team",     "ctch_tell",
                          "ctch_shout",  "CCNPCChatText", "CCNPCOOCText"};
    QStringList game;
    QStringList scheme;
    for (const QString& name : six) {
        game << name + "=red";
        scheme << name + "=blue";
    }
    QTest::newRow("first four of six") << game << scheme << six
                                       << "Imported 6 colors from\n" + from +
                                              "\n\nChanged: Private groups, Team chat, "
                                              "Private tells, Shout and 2 more." +
                                              tail;
}

void TestSchemeMerge::reportsWhatChanged()
{
    QFETCH(QStringList, game);
    QFETCH(QStringList, scheme);
    QFETCH(QStringList, changed);
    QFETCH(QString, report);
    const SchemeMerge merge(table(game), table(scheme), file);
    QCOMPARE(merge.sharesNames(), !report.startsWith(QLatin1String("None")));
    QCOMPARE(merge.changedNames(), changed);
    QCOMPARE(merge.report(), report);
    QCOMPARE(merge.stepName(), QStringLiteral("import of night.xml"));
}

QTEST_MAIN(TestSchemeMerge)
#include "TestSchemeMerge.moc"
