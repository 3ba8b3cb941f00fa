// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/SwatchRows.h"

const QVector<SwatchRow>& swatchRows()
{
    static const QVector<SwatchRow> rows = {
        {0, 0, "Guild chat", {"ctch_clan", "CCClanColor"}},
        {0, 1, "Private groups", {"ctch_pgroup"}},
        {0, 2, "Team chat", {"ctch_team", "CCTeamColor"}},
        {0, 3, "Private tells", {"ct_itell", "ctch_tell", "CCTellColor"}},
        {0, 4, "Vicinity", {"ctch_vicinity", "CCVicinityColor"}},
        {0, 5, "Whisper", {"ctch_whisper", "CCWhisperColor"}},
        {0, 6, "Shout", {"ctch_shout", "CCShoutColor"}},
        {1, 0, "NPC chat text", {"CCNPCChatText"}},
        {1, 1, "NPC OOC text", {"CCNPCOOCText"}},
        {1, 2, "NPC emotes", {"CCNPCChatEmote"}},
        {1, 3, "NPC system Text", {"CCNPCChatSystem"}},
        {1, 4, "Your questions", {"CCNPCChatQuestion"}},
        {1, 5, "Descriptions", {"CCNPCChatDescription"}},
        {1, 6, "Trading text", {"CCNPCChatTrade"}},
        {2, 0, "You got hit by nano", {"CCMeHitByNanoColor"}},
        {2, 1, "n00b got hit by nano", {"CCOtherHitByNanoColor"}},
        {2, 2, "You got hit by an NPC", {"CCMonsterHitMeColor"}},
        {2, 3, "You got hit by a n00b", {"CCPlayerHitMeColor"}},
        {2, 4, "You hit someone", {"CCMeHitOtherColor"}},
        {2, 5, "n00b got hit by other n00b", {"CCOtherHitOtherColor"}},
        {2, 6, "n00b got hit by your pet", {"CCOtherHitOtherMyPetColor"}},
        {3, 0, "Shopping channels", {"ctch_seekingteam", "CCSeekingTeamColor"}},
        {3, 1, "Towers &amp; Org. Msg.", {"ctch_tower", "CCTowerColor"}},
        {3, 2, "You got healed...", {"CCMeHealedColor"}},
        {3, 3, "You got XP", {"CCMeGotXpColor"}},
        {3, 4, "Skill available", {"CCSkillColor"}},
        {3, 5, "My pet", {"ctch_mypet"}},
        {3, 6, "n00b's pet", {"ctch_otherpet"}},
    };
    return rows;
}
