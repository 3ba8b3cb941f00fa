// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SchemeMerge.h"

#include "model/AOColors.h"

#include <QtTest>

namespace
{

AOColors table(const QStringList& names, const QString& value)
{
    AOColors colors;
    for (const QString& name : names) {
        AOColor color;
        color.name = name;
        color.setValue(value);
        colors.append(color);
    }
    return colors;
}

} // namespace

class TestSchemeMerge : public QObject
{
    Q_OBJECT

private slots:
    void reportsWhatChanged_data();
    void reportsWhatChanged();
};

// The report names the chat groups before other names, each group once and the first
// four of many; a scheme's names the game lacks are counted.
void TestSchemeMerge::reportsWhatChanged_data()
{
    QTest::addColumn<QStringList>("game");
    QTest::addColumn<QStringList>("scheme"); // all "blue"; the game's are "red"
    QTest::addColumn<QString>("report");

    const QString tail = QStringLiteral("\n\nSave keeps the new colors; Ctrl+Z takes them back.");
    QTest::newRow("groups first, once each")
        << QStringList{"other", "ctch_clan", "CCClanColor"}
        << QStringList{"other", "ctch_clan", "CCClanColor", "not_here"}
        << "Imported 3 colors from\n/s/night.xml\n\nChanged: Guild chat, other.\n\n1 name of "
           "that file is not in this game's TextColors.xml and was left out." +
               tail;
    const QStringList six{"ctch_pgroup", "ctch_team",     "ctch_tell",
                          "ctch_shout",  "CCNPCChatText", "CCNPCOOCText"};
    QTest::newRow("first four of six")
        << six << six
        << "Imported 6 colors from\n/s/night.xml\n\nChanged: Private groups, Team chat, Private "
           "tells, Shout and 2 more." +
               tail;
}

void TestSchemeMerge::reportsWhatChanged()
{
    QFETCH(QStringList, game);
    QFETCH(QStringList, scheme);
    QFETCH(QString, report);
    const QString file = QDir::fromNativeSeparators(QStringLiteral("/s/night.xml"));
    const SchemeMerge merge(table(game, "red"), table(scheme, "blue"), file);
    QCOMPARE(merge.report(), QString(report).replace(file, QDir::toNativeSeparators(file)));
    QCOMPARE(merge.changedNames(), game);
    QCOMPARE(merge.stepName(), QStringLiteral("import of night.xml"));
}

QTEST_MAIN(TestSchemeMerge)
#include "TestSchemeMerge.moc"
