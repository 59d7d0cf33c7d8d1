// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "localisation/TApplicationVar.h"

#include <QHash>

#include <array>

namespace korvell {

namespace {

constexpr const char* kTextLib = "TEXT_LIB";
constexpr const char* kMatrixPopup = "MATRIX_POPUP";

const std::array<TApplicationVar::TextEntry, 95> kEntries = {{
    {"HeaderPanel", kTextLib, &TApplicationVar::HeaderPanel,
     "  Hint: Double click on matrices to edit values or insert new products"},
    {"HeaderPanel_TABLE", kTextLib, &TApplicationVar::HeaderPanel_TABLE, "  Hint: Edit or Insert products and values"},
    {"ButtonLang", kTextLib, &TApplicationVar::ButtonLang, "Language"},
    {"Button_PrintToImage", kTextLib, &TApplicationVar::Button_PrintToImage, "Print to Jpeg"},
    {"Copyright", kTextLib, &TApplicationVar::Copyright, "Copyright (c) 2026 Korvell"},
    {"LMinorGrid", kMatrixPopup, &TApplicationVar::LMinorGrid, "Minor Grid"},
    {"LGrid_ShowAll", kMatrixPopup, &TApplicationVar::LGrid_ShowAll, "Show All"},
    {"LGRid_HideAll", kMatrixPopup, &TApplicationVar::LGRid_HideAll, "Hide All"},
    {"LOcean", kTextLib, &TApplicationVar::LOcean, "Ocean"},
    {"LSea", kTextLib, &TApplicationVar::LSea, "Sea"},
    {"LRiver", kTextLib, &TApplicationVar::LRiver, "River"},
    {"LLagoon", kTextLib, &TApplicationVar::LLagoon, "Lagoon"},
    {"LSlim", kTextLib, &TApplicationVar::LSlim, "Limited"},
    {"LFat", kTextLib, &TApplicationVar::LFat, "Abundant"},
    {"LWeak", kTextLib, &TApplicationVar::LWeak, "Scarce"},
    {"LRobust", kTextLib, &TApplicationVar::LRobust, "Enlarged"},
    {"LDevelop", kTextLib, &TApplicationVar::LDevelop, "Develop"},
    {"LLeverage", kTextLib, &TApplicationVar::LLeverage, "Leverage"},
    {"LControl", kTextLib, &TApplicationVar::LControl, "Control"},
    {"LExplore", kTextLib, &TApplicationVar::LExplore, "Explore"},
    {"LBestValue", kTextLib, &TApplicationVar::LBestValue, "Best Value"},
    {"LPremium", kTextLib, &TApplicationVar::LPremium, "Premium"},
    {"LCommodity", kTextLib, &TApplicationVar::LCommodity, "Commodity"},
    {"LLesserValue", kTextLib, &TApplicationVar::LLesserValue, "Lesser Value"},
    {"LGold", kTextLib, &TApplicationVar::LGold, "Gold"},
    {"LTitanium", kTextLib, &TApplicationVar::LTitanium, "Titanium"},
    {"LBrass", kTextLib, &TApplicationVar::LBrass, "Brass"},
    {"LAluminium", kTextLib, &TApplicationVar::LAluminium, "Aluminium"},
    {"LAtelier", kTextLib, &TApplicationVar::LAtelier, "Atelier"},
    {"LLaboratory", kTextLib, &TApplicationVar::LLaboratory, "Laboratory"},
    {"LTheatre", kTextLib, &TApplicationVar::LTheatre, "Theatre"},
    {"LFactory", kTextLib, &TApplicationVar::LFactory, "Factory"},
    {"G_PM_Title", kTextLib, &TApplicationVar::G_PM_Title, "Market"},
    {"G_PM_LeftAxis", kTextLib, &TApplicationVar::G_PM_LeftAxis, "Demand/Market Dimension"},
    {"G_PM_BottomAxis", kTextLib, &TApplicationVar::G_PM_BottomAxis, "Supply/Number of Competitors"},
    {"G_PP_Title", kTextLib, &TApplicationVar::G_PP_Title, "Profit"},
    {"G_PP_LeftAxis", kTextLib, &TApplicationVar::G_PP_LeftAxis, "Market"},
    {"G_PP_BottomAxis", kTextLib, &TApplicationVar::G_PP_BottomAxis, "Margin"},
    {"G_ST_Title", kTextLib, &TApplicationVar::G_ST_Title, "Strategy"},
    {"G_ST_LeftAxis", kTextLib, &TApplicationVar::G_ST_LeftAxis, "Profit"},
    {"G_ST_BottomAxis", kTextLib, &TApplicationVar::G_ST_BottomAxis, "Market Share"},
    {"G_VA_Title", kTextLib, &TApplicationVar::G_VA_Title, "Value"},
    {"G_VA_LeftAxis", kTextLib, &TApplicationVar::G_VA_LeftAxis, "Product Functionality"},
    {"G_VA_BottomAxis", kTextLib, &TApplicationVar::G_VA_BottomAxis, "Product Price"},
    {"G_PMA_Title", kTextLib, &TApplicationVar::G_PMA_Title, "Product Margin"},
    {"G_PMA_LeftAxis", kTextLib, &TApplicationVar::G_PMA_LeftAxis, "Perceived Value"},
    {"G_PMA_BottomAxis", kTextLib, &TApplicationVar::G_PMA_BottomAxis, "Needed Effort"},
    {"G_EFF_Title", kTextLib, &TApplicationVar::G_EFF_Title, "Effort"},
    {"G_EFF_LeftAxis", kTextLib, &TApplicationVar::G_EFF_LeftAxis, "Knowledge and Competences"},
    {"G_EFF_BottomAxis", kTextLib, &TApplicationVar::G_EFF_BottomAxis, "Technology and Processes"},
    {"LBanking", kTextLib, &TApplicationVar::LBanking, "Banking"},
    {"LBatting", kTextLib, &TApplicationVar::LBatting, "Betting"},
    {"LSecuring", kTextLib, &TApplicationVar::LSecuring, "Securing"},
    {"LRisking", kTextLib, &TApplicationVar::LRisking, "Risking"},
    {"LAcceptable", kTextLib, &TApplicationVar::LAcceptable, "Acceptable"},
    {"LHigh", kTextLib, &TApplicationVar::LHigh, "High"},
    {"LLow", kTextLib, &TApplicationVar::LLow, "Low"},
    {"LDisadjusted", kTextLib, &TApplicationVar::LDisadjusted, "Misfit"},
    {"G_EVA_Title", kTextLib, &TApplicationVar::G_EVA_Title, "EVA"},
    {"G_EVA_LeftAxis", kTextLib, &TApplicationVar::G_EVA_LeftAxis, "Potential Profit"},
    {"G_EVA_BottomAxis", kTextLib, &TApplicationVar::G_EVA_BottomAxis, "Cost of Capital"},
    {"G_CC_Title", kTextLib, &TApplicationVar::G_CC_Title, "Cost of Capital"},
    {"G_CC_LeftAxis", kTextLib, &TApplicationVar::G_CC_LeftAxis, "Interest on Capital"},
    {"G_CC_BottomAxis", kTextLib, &TApplicationVar::G_CC_BottomAxis, "Risk"},
    {"LAddingValue", kTextLib, &TApplicationVar::LAddingValue, "Adding-value"},
    {"LBreakthrough", kTextLib, &TApplicationVar::LBreakthrough, "Breakthrough"},
    {"LTurningaround", kTextLib, &TApplicationVar::LTurningaround, "Turning-around"},
    {"LUpGrading", kTextLib, &TApplicationVar::LUpGrading, "Upgrading"},
    {"G_MSD_Title", kTextLib, &TApplicationVar::G_MSD_Title, "Market Satisfaction Difficulty"},
    {"G_MSD_LeftAxis", kTextLib, &TApplicationVar::G_MSD_LeftAxis, "Qualitative demands"},
    {"G_MSD_BottomAxis", kTextLib, &TApplicationVar::G_MSD_BottomAxis, "Context of forces"},
    {"G_IM_Title", kTextLib, &TApplicationVar::G_IM_Title, "Innovation"},
    {"G_IM_LeftAxis", kTextLib, &TApplicationVar::G_IM_LeftAxis, "Satisfaction Difficulty"},
    {"G_IM_BottomAxis", kTextLib, &TApplicationVar::G_IM_BottomAxis, "Applied Capability"},
    {"G_NC_Title", kTextLib, &TApplicationVar::G_NC_Title, "Needed \"Capability\""},
    {"G_NC_LeftAxis", kTextLib, &TApplicationVar::G_NC_LeftAxis, "Knowledge and Competences"},
    {"G_NC_BottomAxis", kTextLib, &TApplicationVar::G_NC_BottomAxis, "Technology and Processes"},
    {"L_VBI_MSD_1", kTextLib, &TApplicationVar::L_VBI_MSD_1, "Complex"},
    {"L_VBI_MSD_2", kTextLib, &TApplicationVar::L_VBI_MSD_2, "High"},
    {"L_VBI_MSD_3", kTextLib, &TApplicationVar::L_VBI_MSD_3, "Low"},
    {"L_VBI_MSD_4", kTextLib, &TApplicationVar::L_VBI_MSD_4, "Simple"},
    {"L_VBI_NC_1", kTextLib, &TApplicationVar::L_VBI_NC_1, "Atelier"},
    {"L_VBI_NC_2", kTextLib, &TApplicationVar::L_VBI_NC_2, "Laboratory"},
    {"L_VBI_NC_3", kTextLib, &TApplicationVar::L_VBI_NC_3, "Theatre"},
    {"L_VBI_NC_4", kTextLib, &TApplicationVar::L_VBI_NC_4, "Factory"},
    {"MSG_Exported", kTextLib, &TApplicationVar::MSG_Exported, "Jpeg created in "},
    {"MSG_Close_TITLE", kTextLib, &TApplicationVar::MSG_Close_TITLE, "Korvell"},
    {"MSG_Close_TEXT", kTextLib, &TApplicationVar::MSG_Close_TEXT, "Do you wish to close Korvell application ?"},
    {"WORD_Product", kTextLib, &TApplicationVar::WORD_Product, "Product"},
    {"WORD_BubbleRadius", kTextLib, &TApplicationVar::WORD_BubbleRadius, "Bubble Radius"},
    {"WORD_Color", kTextLib, &TApplicationVar::WORD_Color, "Color"},
    {"WORD_DataGrid", kTextLib, &TApplicationVar::WORD_DataGrid, "Data"},
    {"WORD_MAP", kTextLib, &TApplicationVar::WORD_MAP, "Strategy"},
    {"WORD_VBI", kTextLib, &TApplicationVar::WORD_VBI, "Innovation"},
    {"WORD_EVA", kTextLib, &TApplicationVar::WORD_EVA, "Economic Value"},
}};

} // namespace

std::span<const TApplicationVar::TextEntry> TApplicationVar::textEntries() {
    return kEntries;
}

const QString& TApplicationVar::text(QAnyStringView key) const {
    static const QHash<QString, QString TApplicationVar::*> members = [] {
        QHash<QString, QString TApplicationVar::*> byKey;
        for (const TextEntry& entry : kEntries) {
            byKey.insert(QString::fromLatin1(entry.key), entry.member);
        }
        return byKey;
    }();
    static const QString none;
    const auto it = members.constFind(key.toString());
    return it == members.cend() ? none : this->**it;
}

} // namespace korvell
