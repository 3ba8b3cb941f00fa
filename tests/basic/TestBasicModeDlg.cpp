// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/BasicModeDlg.h"

#include "basic/AOColorWidget.h"
#include "common/ColorTable.h"
#include "common/Pixels.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpacerItem>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QVBoxLayout>
#include <QtTest>

namespace
{

// Opens the page's parts to the test.
class OpenPage : public BasicModeDlg
{
public:
    using BasicModeDlg::label;
    using BasicModeDlg::layout;
    using BasicModeDlg::tabs;

    AOColorWidget* swatch(int tab, int row) const
    {
        return qobject_cast<AOColorWidget*>(tabs->widget(tab)->layout()->itemAt(row)->widget());
    }
    QList<AOColorWidget*> swatches() const
    {
        QList<AOColorWidget*> all;
        for (int tab = 0; tab < tabs->count(); ++tab) {
            for (int row = 0; row < tabs->widget(tab)->layout()->count(); ++row)
                all.append(swatch(tab, row));
        }
        return all;
    }
};

QLabel* captionOf(AOColorWidget* swatch)
{
    return swatch->findChild<QLabel*>();
}

QPushButton* buttonOf(AOColorWidget* swatch)
{
    return swatch->findChild<QPushButton*>();
}

AOColor colorOf(const QString& text)
{
    AOColor color;
    color.setValue(text);
    return color;
}

// Every first name of the page's groups, given a colour of its own so a swatch
// showing another row's colour is caught.
const QStringList firstNames = {"ctch_clan",
                                "ctch_pgroup",
                                "ctch_team",
                                "ct_itell",
                                "ctch_vicinity",
                                "ctch_whisper",
                                "ctch_shout",
                                "CCNPCChatText",
                                "CCNPCOOCText",
                                "CCNPCChatEmote",
                                "CCNPCChatSystem",
                                "CCNPCChatQuestion",
                                "CCNPCChatDescription",
                                "CCNPCChatTrade",
                                "CCMeHitByNanoColor",
                                "CCOtherHitByNanoColor",
                                "CCMonsterHitMeColor",
                                "CCPlayerHitMeColor",
                                "CCMeHitOtherColor",
                                "CCOtherHitOtherColor",
                                "CCOtherHitOtherMyPetColor",
                                "ctch_seekingteam",
                                "ctch_tower",
                                "CCMeHealedColor",
                                "CCMeGotXpColor",
                                "CCSkillColor",
                                "ctch_mypet",
                                "ctch_otherpet"};

QColor rowColor(int row)
{
    return QColor(40 + row * 7, 200 - row * 5, 60 + row * 6);
}

const QColor backdrop(0x1e, 0x2a, 0x3c);

} // namespace

class TestBasicModeDlg : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void pageIsBuiltAsDesigned();
    void rowsStandInTableOrder_data();
    void rowsStandInTableOrder();
    void backgroundReachesEverySwatch();
    void updateShowsFirstNamesEverywhere();
    void towersCaptionShowsAnAmpersand();
};

void TestBasicModeDlg::init()
{
    aoColors.clear();
}

void TestBasicModeDlg::pageIsBuiltAsDesigned()
{
    OpenPage page;
    QCOMPARE(page.layout->spacing(), 3);
    QCOMPARE(page.layout->contentsMargins(), QMargins(5, 5, 5, 5));
    QCOMPARE(page.layout->count(), 3);
    QCOMPARE(page.layout->itemAt(0)->widget(), page.tabs);
    QSpacerItem* spacer = page.layout->itemAt(1)->spacerItem();
    QVERIFY(spacer);
    QCOMPARE(spacer->sizeHint(), QSize(1, 1));
    QCOMPARE(spacer->sizePolicy().horizontalPolicy(), QSizePolicy::Minimum);
    QCOMPARE(spacer->sizePolicy().verticalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(page.layout->itemAt(2)->widget(), page.label);
    QVERIFY(page.label->wordWrap());
    QCOMPARE(
        page.label->text(),
        QStringLiteral("<b><u>Changing your chatcolors:</u></b><br />Change the colors you "
                       "want.<br />Click <b>Save</b> to save the data.<br />Launch Anarchy "
                       "Online.<br /><br />If you allready have AO running, do this to see your "
                       "changes:<br />Press <b>CTRL + SHIFT + F7</b>.<br />Make the <b>Actions</b> "
                       "tab active by clicking on it.<br />Click <b>Reload menus</b>."));

    const QStringList titles = {"Basic Chat", "NPC Chat", "Combat", "Misc."};
    QCOMPARE(page.tabs->count(), titles.size());
    for (int tab = 0; tab < titles.size(); ++tab) {
        QCOMPARE(page.tabs->tabText(tab), titles.at(tab));
        auto* tabLayout = qobject_cast<QVBoxLayout*>(page.tabs->widget(tab)->layout());
        QVERIFY(tabLayout);
        QCOMPARE(tabLayout->spacing(), 3);
        QCOMPARE(tabLayout->contentsMargins(), QMargins(5, 5, 5, 5));
        // Seven swatches and nothing else, not even a stretch.
        QCOMPARE(tabLayout->count(), 7);
        for (int row = 0; row < 7; ++row)
            QVERIFY(page.swatch(tab, row));
    }
}

void TestBasicModeDlg::rowsStandInTableOrder_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("names");

    const auto add = [](int tab, int row, const char* caption, const QStringList& names) {
        QTest::addRow("%s", caption) << tab << row << QString::fromLatin1(caption) << names;
    };
    add(0, 0, "Guild chat", {"ctch_clan", "CCClanColor"});
    add(0, 1, "Private groups", {"ctch_pgroup"});
    add(0, 2, "Team chat", {"ctch_team", "CCTeamColor"});
    add(0, 3, "Private tells", {"ct_itell", "ctch_tell", "CCTellColor"});
    add(0, 4, "Vicinity", {"ctch_vicinity", "CCVicinityColor"});
    add(0, 5, "Whisper", {"ctch_whisper", "CCWhisperColor"});
    add(0, 6, "Shout", {"ctch_shout", "CCShoutColor"});
    add(1, 0, "NPC chat text", {"CCNPCChatText"});
    add(1, 1, "NPC OOC text", {"CCNPCOOCText"});
    add(1, 2, "NPC emotes", {"CCNPCChatEmote"});
    add(1, 3, "NPC system Text", {"CCNPCChatSystem"});
    add(1, 4, "Your questions", {"CCNPCChatQuestion"});
    add(1, 5, "Descriptions", {"CCNPCChatDescription"});
    add(1, 6, "Trading text", {"CCNPCChatTrade"});
    add(2, 0, "You got hit by nano", {"CCMeHitByNanoColor"});
    add(2, 1, "n00b got hit by nano", {"CCOtherHitByNanoColor"});
    add(2, 2, "You got hit by an NPC", {"CCMonsterHitMeColor"});
    add(2, 3, "You got hit by a n00b", {"CCPlayerHitMeColor"});
    add(2, 4, "You hit someone", {"CCMeHitOtherColor"});
    add(2, 5, "n00b got hit by other n00b", {"CCOtherHitOtherColor"});
    add(2, 6, "n00b got hit by your pet", {"CCOtherHitOtherMyPetColor"});
    add(3, 0, "Shopping channels", {"ctch_seekingteam", "CCSeekingTeamColor"});
    add(3, 1, "Towers &amp; Org. Msg.", {"ctch_tower", "CCTowerColor"});
    add(3, 2, "You got healed...", {"CCMeHealedColor"});
    add(3, 3, "You got XP", {"CCMeGotXpColor"});
    add(3, 4, "Skill available", {"CCSkillColor"});
    add(3, 5, "My pet", {"ctch_mypet"});
    add(3, 6, "n00b's pet", {"ctch_otherpet"});
}

void TestBasicModeDlg::rowsStandInTableOrder()
{
    QFETCH(int, tab);
    QFETCH(int, row);
    QFETCH(QString, caption);
    QFETCH(QStringList, names);

    OpenPage page;
    AOColorWidget* swatch = page.swatch(tab, row);
    QCOMPARE(captionOf(swatch)->text(), QStringLiteral("<b>") + caption + QStringLiteral(" :</b>"));

    // The click travels through the page unchanged, exactly once.
    QSignalSpy spy(&page, &BasicModeDlg::pickColor);
    QTest::mouseClick(buttonOf(swatch), Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toStringList(), names);
}

void TestBasicModeDlg::backgroundReachesEverySwatch()
{
    OpenPage page;
    page.resize(350, 380);
    page.setBackgroundColor(colorOf(QStringLiteral("0x1e2a3c")));

    const QList<AOColorWidget*> swatches = page.swatches();
    QCOMPARE(swatches.size(), 28);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    for (int tab = 0; tab < page.tabs->count(); ++tab) {
        page.tabs->setCurrentIndex(tab);
        for (int row = 0; row < 7; ++row) {
            QLabel* caption = captionOf(page.swatch(tab, row));
            const QImage image = Pixels::render(caption);
            QVERIFY2(Pixels::count(image, backdrop) > image.width() * image.height() / 2,
                     qPrintable(caption->text()));
            QCOMPARE(buttonOf(page.swatch(tab, row))->palette().color(QPalette::Button), backdrop);
        }
    }
}

void TestBasicModeDlg::updateShowsFirstNamesEverywhere()
{
    QVector<QPair<QString, QString>> table;
    for (int row = 0; row < firstNames.size(); ++row)
        table.append({firstNames.at(row), rowColor(row).name()});
    // The other names of "Private tells" must not influence its swatch.
    table.append({QStringLiteral("ctch_tell"), QStringLiteral("0xff0000")});
    table.append({QStringLiteral("CCTellColor"), QStringLiteral("0x0000ff")});
    setColorTable(table);

    OpenPage page;
    page.resize(350, 380);
    page.setBackgroundColor(colorOf(QStringLiteral("0x1e2a3c")));
    // Refreshed while the page is hidden and only the first tab is current.
    page.updateColors();
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));

    for (int tab = 0; tab < 4; ++tab) {
        page.tabs->setCurrentIndex(tab);
        for (int row = 0; row < 7; ++row) {
            AOColorWidget* swatch = page.swatch(tab, row);
            const QColor wanted = rowColor(tab * 7 + row);
            const QImage image = Pixels::render(swatch);
            QVERIFY2(Pixels::count(image, wanted, captionOf(swatch)->geometry()) > 20,
                     qPrintable(captionOf(swatch)->text()));
            QVERIFY(Pixels::count(image, wanted, buttonOf(swatch)->geometry()) > 20);
            QCOMPARE(Pixels::count(image, Qt::red), 0);
            QCOMPARE(Pixels::count(image, Qt::blue), 0);
        }
    }
}

void TestBasicModeDlg::towersCaptionShowsAnAmpersand()
{
    OpenPage page;
    QLabel* caption = captionOf(page.swatch(3, 1));
    QVERIFY(Qt::mightBeRichText(caption->text()));
    QCOMPARE(caption->textFormat(), Qt::AutoText);
    QCOMPARE(QTextDocumentFragment::fromHtml(caption->text()).toPlainText(),
             QStringLiteral("Towers & Org. Msg. :"));
    QCOMPARE(buttonOf(page.swatch(3, 1))->accessibleName(), QStringLiteral("Towers & Org. Msg."));
}

QTEST_MAIN(TestBasicModeDlg)
#include "TestBasicModeDlg.moc"
