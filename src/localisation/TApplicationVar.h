// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QAnyStringView>
#include <QString>
#include <QStringList>

#include <span>

namespace korvell {

/// The text catalogue: every language-dependent text of the map window, one entry per key of
/// the language files, followed by the language menu of the last language file read.
struct TApplicationVar {
    /// One catalogue entry: its key, the language-file section holding it, the member that
    /// stores it and its built-in English text.
    struct TextEntry {
        const char* key;
        const char* section;
        QString TApplicationVar::*member;
        const char* builtInText;
    };

    QString HeaderPanel;
    QString HeaderPanel_TABLE;
    QString ButtonLang;
    QString Button_PrintToImage;
    QString Copyright;
    QString LMinorGrid;
    QString LGrid_ShowAll;
    QString LGRid_HideAll;
    QString LOcean;
    QString LSea;
    QString LRiver;
    QString LLagoon;
    QString LSlim;
    QString LFat;
    QString LWeak;
    QString LRobust;
    QString LDevelop;
    QString LLeverage;
    QString LControl;
    QString LExplore;
    QString LBestValue;
    QString LPremium;
    QString LCommodity;
    QString LLesserValue;
    QString LGold;
    QString LTitanium;
    QString LBrass;
    QString LAluminium;
    QString LAtelier;
    QString LLaboratory;
    QString LTheatre;
    QString LFactory;
    QString G_PM_Title;
    QString G_PM_LeftAxis;
    QString G_PM_BottomAxis;
    QString G_PP_Title;
    QString G_PP_LeftAxis;
    QString G_PP_BottomAxis;
    QString G_ST_Title;
    QString G_ST_LeftAxis;
    QString G_ST_BottomAxis;
    QString G_VA_Title;
    QString G_VA_LeftAxis;
    QString G_VA_BottomAxis;
    QString G_PMA_Title;
    QString G_PMA_LeftAxis;
    QString G_PMA_BottomAxis;
    QString G_EFF_Title;
    QString G_EFF_LeftAxis;
    QString G_EFF_BottomAxis;
    QString LBanking;
    QString LBatting;
    QString LSecuring;
    QString LRisking;
    QString LAcceptable;
    QString LHigh;
    QString LLow;
    QString LDisadjusted;
    QString G_EVA_Title;
    QString G_EVA_LeftAxis;
    QString G_EVA_BottomAxis;
    QString G_CC_Title;
    QString G_CC_LeftAxis;
    QString G_CC_BottomAxis;
    QString LAddingValue;
    QString LBreakthrough;
    QString LTurningaround;
    QString LUpGrading;
    QString G_MSD_Title;
    QString G_MSD_LeftAxis;
    QString G_MSD_BottomAxis;
    QString G_IM_Title;
    QString G_IM_LeftAxis;
    QString G_IM_BottomAxis;
    QString G_NC_Title;
    QString G_NC_LeftAxis;
    QString G_NC_BottomAxis;
    QString L_VBI_MSD_1;
    QString L_VBI_MSD_2;
    QString L_VBI_MSD_3;
    QString L_VBI_MSD_4;
    QString L_VBI_NC_1;
    QString L_VBI_NC_2;
    QString L_VBI_NC_3;
    QString L_VBI_NC_4;
    QString MSG_Exported;
    QString MSG_Close_TITLE;
    QString MSG_Close_TEXT;
    QString WORD_Product;
    QString WORD_BubbleRadius;
    QString WORD_Color;
    QString WORD_DataGrid;
    QString WORD_MAP;
    QString WORD_VBI;
    QString WORD_EVA;
    /// Language names of the loaded file's LANG_MENU section, in file order.
    QStringList LangMenuKeys;
    /// The menu caption of each entry of LangMenuKeys, at the same index.
    QStringList LangMenuCaptions;
    /// False until a language file has been read: before that the menu lists do not exist.
    bool langMenuLoaded = false;

    /// The 95 entries in declared order.
    static std::span<const TextEntry> textEntries();
    /// The entry named key (exact spelling); the empty string for a key the catalogue lacks.
    const QString& text(QAnyStringView key) const;

    bool operator==(const TApplicationVar&) const = default;
};

} // namespace korvell
