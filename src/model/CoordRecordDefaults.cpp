// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "model/CoordRecordDefaults.h"

#include "model/CoordTable.h"

#include <QUuid>

namespace korvell {

QString newGuidText() {
    return QUuid::createUuid().toString(QUuid::WithBraces).toUpper();
}

QString placeholderProduct(const QString& productWord) {
    // Only a..z: the word may come from a language file, and accented letters stay as written there.
    QString upper = productWord;
    for (QChar& c : upper) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - u'a' + u'A');
    }
    return QLatin1Char('<') + upper + QLatin1Char('>');
}

void initCoordRecord(CoordTable& table, const QString& productWord) {
    table.setString(QStringLiteral("rowid"), newGuidText());
    table.setString(QStringLiteral("product"), placeholderProduct(productWord));
    table.setFloat(QStringLiteral("bubbleradius"), 0.4);
    // Every score at the centre; the derived ones too, which the formulas leave unchanged there.
    static const char* const scoreFields[] = {
        "pm_x",      "pm_y",      "v_x",     "v_y",   "e_x",     "e_y",     "s_x",     "res_pp_x", "res_pp_y",
        "res_pm_x",  "res_pm_y",  "res_s_y", "msd_x", "msd_y",   "nc_x",    "nc_y",    "res_im_x", "res_im_y",
        "res_eva_x", "res_eva_y", "cc_x",    "cc_y",  "bm_tc_y", "bm_pc_x", "bm_oo_y", "bm_c_x"};
    for (const char* field : scoreFields)
        table.setFloat(QLatin1String(field), 5.0);
    table.post();
}

} // namespace korvell
