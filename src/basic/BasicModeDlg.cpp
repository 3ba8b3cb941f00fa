// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/BasicModeDlg.h"

#include "basic/AOColorWidget.h"
#include "dialogs/HelpLabel.h"

#include <QEvent>
#include <QLabel>
#include <QSpacerItem>
#include <QTabWidget>
#include <QVBoxLayout>

namespace
{

struct ChatGroup {
    const char* caption;
    std::array<const char*, 3> names; // unused places stay null
};

struct ChatTab {
    const char* title;
    std::array<ChatGroup, 7> groups;
};

// The first name of a group decides the colour its swatch shows.
const std::array<ChatTab, 4> chatTabs = {{
    {"Basic Chat",
     {{
         {"Guild chat", {"ctch_clan", "CCClanColor"}},
         {"Private groups", {"ctch_pgroup"}},
         {"Team chat", {"ctch_team", "CCTeamColor"}},
         {"Private tells", {"ct_itell", "ctch_tell", "CCTellColor"}},
         {"Vicinity", {"ctch_vicinity", "CCVicinityColor"}},
         {"Whisper", {"ctch_whisper", "CCWhisperColor"}},
         {"Shout", {"ctch_shout", "CCShoutColor"}},
     }}},
    {"NPC Chat",
     {{
         {"NPC chat text", {"CCNPCChatText"}},
         {"NPC OOC text", {"CCNPCOOCText"}},
         {"NPC emotes", {"CCNPCChatEmote"}},
         {"NPC system Text", {"CCNPCChatSystem"}},
         {"Your questions", {"CCNPCChatQuestion"}},
         {"Descriptions", {"CCNPCChatDescription"}},
         {"Trading text", {"CCNPCChatTrade"}},
     }}},
    {"Combat",
     {{
         {"You got hit by nano", {"CCMeHitByNanoColor"}},
         {"n00b got hit by nano", {"CCOtherHitByNanoColor"}},
         {"You got hit by an NPC", {"CCMonsterHitMeColor"}},
         {"You got hit by a n00b", {"CCPlayerHitMeColor"}},
         {"You hit someone", {"CCMeHitOtherColor"}},
         {"n00b got hit by other n00b", {"CCOtherHitOtherColor"}},
         {"n00b got hit by your pet", {"CCOtherHitOtherMyPetColor"}},
     }}},
    {"Misc.",
     {{
         {"Shopping channels", {"ctch_seekingteam", "CCSeekingTeamColor"}},
         {"Towers &amp; Org. Msg.", {"ctch_tower", "CCTowerColor"}},
         {"You got healed...", {"CCMeHealedColor"}},
         {"You got XP", {"CCMeGotXpColor"}},
         {"Skill available", {"CCSkillColor"}},
         {"My pet", {"ctch_mypet"}},
         {"n00b's pet", {"ctch_otherpet"}},
     }}},
}};

} // namespace

BasicModeDlg::BasicModeDlg(QWidget* parent) : QWidget(parent)
{
    layout = new QVBoxLayout(this);
    layout->setSpacing(3);
    layout->setContentsMargins(5, 5, 5, 5);

    tabs = new QTabWidget(this);
    layout->addWidget(tabs);
    buildTab(0, basicChatPage, basicChatLayout, basicChatSwatches);
    buildTab(1, npcChatPage, npcChatLayout, npcChatSwatches);
    buildTab(2, combatPage, combatLayout, combatSwatches);
    buildTab(3, miscPage, miscLayout, miscSwatches);
    connect(tabs, &QTabWidget::currentChanged, this, &BasicModeDlg::showRows);

    layout->addItem(new QSpacerItem(1, 1, QSizePolicy::Minimum, QSizePolicy::Expanding));

    label = new HelpLabel(this);
    label->setText(tr("<b><u>Changing your chatcolors:</u></b><br />Change the colors you "
                      "want.<br />Click <b>Save</b> to save the data.<br />Launch Anarchy "
                      "Online.<br /><br />If you allready have AO running, do this to see your "
                      "changes:<br />Press <b>CTRL + SHIFT + F7</b>.<br />Make the "
                      "<b>Actions</b> tab active by clicking on it.<br />Click <b>Reload "
                      "menus</b>."));
    // The text's own line breaks were laid out for narrower fonts than most Linux
    // desktops use; wrapping keeps the instructions whole in the fixed window.
    label->setWordWrap(true);
    layout->addWidget(label);
    showContent(false);

    // Names for tests and accessibility tools to find the widgets by.
    tabs->setObjectName(QStringLiteral("tabs"));
    label->setObjectName(QStringLiteral("helpLabel"));
}

// The page's content is shown only while the page is: a hidden widget takes no room in
// a layout, so the window's layout does not measure the captions and the wrapped help
// text while the page is not the one in view, as at a start in advanced mode.
bool BasicModeDlg::event(QEvent* event)
{
    if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)
        showContent(event->type() == QEvent::ShowToParent);
    return QWidget::event(event);
}

void BasicModeDlg::showContent(bool shown)
{
    tabs->setVisible(shown);
    label->setVisible(shown);
}

void BasicModeDlg::buildTab(int tab, QWidget*& page, QVBoxLayout*& pageLayout, Swatches& swatches)
{
    page = new QWidget();
    pageLayout = new QVBoxLayout(page);
    pageLayout->setSpacing(3);
    pageLayout->setContentsMargins(5, 5, 5, 5);
    // The page goes onto its tab while it is still empty: the first tab's page is shown
    // as it is added, and showing a widget lays it out, captions and all, even while the
    // window and the basic page are hidden, as at a start in advanced mode.
    tabs->addTab(page, QString::fromLatin1(chatTabs[tab].title));
    for (int row = 0; row < swatchesPerTab; ++row) {
        swatches[row] = buildSwatch(tab, row, page);
        pageLayout->addWidget(swatches[row]);
        // The rows of a tab are laid out the first time the tab is opened: a hidden
        // widget takes no room in a layout, so the captions of tabs the player has not
        // opened are not measured. The first tab's rows show with their page.
        if (tab != 0)
            swatches[row]->hide();
    }
}

void BasicModeDlg::showRows(int tab)
{
    const std::array<Swatches*, 4> all = {&basicChatSwatches, &npcChatSwatches, &combatSwatches,
                                          &miscSwatches};
    if (tab < 0 || tab >= int(all.size()))
        return;
    for (AOColorWidget* swatch : *all[tab])
        swatch->show();
}

AOColorWidget* BasicModeDlg::buildSwatch(int tab, int row, QWidget* page)
{
    const ChatGroup& group = chatTabs[tab].groups[row];
    auto* swatch = new AOColorWidget(page);
    swatch->setText(QString::fromLatin1(group.caption));
    for (const char* name : group.names) {
        if (name)
            swatch->addColorGroup(QString::fromLatin1(name));
    }
    connect(swatch, &AOColorWidget::clicked, this, &BasicModeDlg::buttonClicked);
    return swatch;
}

void BasicModeDlg::forEachSwatch(const std::function<void(AOColorWidget*)>& action)
{
    for (const Swatches* swatches :
         {&basicChatSwatches, &npcChatSwatches, &combatSwatches, &miscSwatches}) {
        for (AOColorWidget* swatch : *swatches)
            action(swatch);
    }
}

void BasicModeDlg::setBackgroundColor(AOColor color)
{
    forEachSwatch([&color](AOColorWidget* swatch) { swatch->setBackgroundColor(color); });
}

void BasicModeDlg::updateColors()
{
    forEachSwatch([](AOColorWidget* swatch) { swatch->updateColor(); });
}

QString BasicModeDlg::groupCaption(const QString& name)
{
    for (const ChatTab& tab : chatTabs) {
        for (const ChatGroup& group : tab.groups) {
            for (const char* member : group.names) {
                if (member && name == QLatin1String(member))
                    return QString::fromLatin1(group.caption)
                        .replace(QLatin1String("&amp;"), QLatin1String("&"));
            }
        }
    }
    return QString();
}

void BasicModeDlg::buttonClicked(const QStringList& cgs)
{
    emit pickColor(cgs);
}
