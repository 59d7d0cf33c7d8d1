// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "db/ResultsImport.h"

#include "common/Error.h"
#include "db/ResultSet.h"
#include "db/SqlDataSet.h"
#include "db/SqlText.h"
#include "model/CoordTable.h"
#include "model/MapModel.h"

#include <QCoreApplication>
#include <QScopeGuard>

namespace korvell {

namespace {

constexpr const char* kStrategy = "35e86bd2-ec11-489a-a63d-500a55801001";
constexpr const char* kBusinessModel = "f9632c25-e319-4ca4-8878-026bcac6122f";
constexpr const char* kMap = "EXEC selectgrafico_map";

constexpr double kImportedRadius = 0.4;

QString latin1(const char* text) {
    return QString::fromLatin1(text);
}

} // namespace

QString ResultsImport::perUserProductId() {
    return QStringLiteral("62099C9D-3F9A-48FE-8E92-876D00DA82FC");
}

const std::array<ResultsImport::Step, 10>& ResultsImport::steps() {
    static const std::array<Step, 10> table{{
        {"G1-%", kMap, kStrategy, "pm_x", "pm_y"},
        {"G2-%", kMap, kStrategy, "v_x", "v_y"},
        {"G3-%", kMap, kStrategy, "e_x", "e_y"},
        {"G4", "EXEC selectgrafico_map_calc", kStrategy, "s_x", nullptr},
        {"G7-%", kMap, kBusinessModel, "bm_pc_x", "bm_tc_y"},
        {"G8-%", kMap, kBusinessModel, "bm_c_x", "bm_oo_y"},
        {"G18-%", kMap, kStrategy, "msd_x", "msd_y"},
        {"G18", "EXEC selectgrafico_vbi_calc", kStrategy, "res_im_x", "res_im_y"},
        {"G19-%", kMap, kStrategy, "cc_x", "cc_y"},
        {"G19", "EXEC selectgrafico_eva_calc", kStrategy, "res_eva_x", "res_eva_y"},
    }};
    return table;
}

QString ResultsImport::commandText(const Step& step, const QString& userId, const QString& productId) {
    return latin1(step.command) + sqlQuote(latin1(step.group)) + QLatin1Char(',') + sqlQuote(userId) +
           QLatin1Char(',') + sqlQuote(productId) + QLatin1Char(',') + sqlQuote(latin1(step.questionnaireType));
}

QString ResultsImport::licenceListSql() {
    // The server's text as it has always been sent, blanks and empty lines included.
    static const char* const lines[] = {
        "SELECT T1.* FROM",
        "(",
        "SELECT u1.* ,",
        "(case tp1.tipoutilizador ",
        "    when 'LICENSE' then parent_user",
        "    when 'RESPONDENT' then (select parent_user from utilizadores where idutilizador = u1.parent_user)",
        "END) as PartnerUser ,",
        "",
        "(case tp1.tipoutilizador ",
        "    when 'LICENSE' then idutilizador",
        "    when 'RESPONDENT' then parent_user END)",
        "as LicUser",
        "",
        "FROM utilizadores u1",
        "LEFT JOIN TiposUtilizador tp1 ON u1.idtipoutilizador = tp1.idtipoutilizador",
        "WHERE u1.status = 'IN USE'",
        "and u1.parent_user is not null",
        ") as T1",
        "",
        "WHERE T1.PartnerUser = :parent_user",
    };
    QString text;
    for (const char* line : lines)
        text += latin1(line) + QStringLiteral("\r\n");
    return text;
}

QString ResultsImport::productListSql() {
    return QStringLiteral("select  * from Produtos\r\nwhere idutilizador = :idlicensa");
}

ResultsImport::ResultsImport(SqlDataSet& query, CoordTable& table, MapModel& model,
                             std::function<void(bool)> setImporting)
    : m_query(query)
    , m_table(table)
    , m_model(model)
    , m_setImporting(std::move(setImporting)) {}

void ResultsImport::run(const QString& userId, const QString& productId) {
    m_table.close();
    m_table.open();
    m_setImporting(true);
    {
        // Views and charts catch up once at the end instead of at every record; a failure
        // must not leave the flag raised, or records typed later would get no defaults.
        auto lower = qScopeGuard([this] {
            m_table.enableControls();
            m_setImporting(false);
        });
        m_table.disableControls();
        for (const Step& step : steps()) {
            m_query.close();
            m_query.setCommandText(commandText(step, userId, productId));
            m_query.open();
            applyStep(step, m_query.result());
        }
    }
    QCoreApplication::processEvents();
    m_model.StoreSeriesToTable();
    m_model.RecalculateFrom(QStringLiteral("ALL"));
}

void ResultsImport::applyStep(const Step& step, const ResultSet& rows) {
    if (rows.isEmpty())
        return;
    const auto column = [&rows, &step](const char* name) {
        const qsizetype index = rows.columnIndex(latin1(name));
        if (index < 0)
            throw Error(QStringLiteral("The result of %1 for group %2 has no column \"%3\".")
                            .arg(latin1(step.command).mid(5), latin1(step.group), latin1(name)));
        return index;
    };
    const qsizetype keyColumn = column("idutilizador");
    const qsizetype xColumn = column("x");
    const qsizetype yColumn = step.yField ? column("y") : -1;
    const int xField = CoordTable::requireField(latin1(step.xField));
    const int yField = step.yField ? CoordTable::requireField(latin1(step.yField)) : -1;
    qsizetype initialsColumn = -1;

    for (qsizetype row = 0; row < rows.rowCount(); ++row) {
        const QString key = rows.value(row, keyColumn).toString();
        const bool found = m_table.locateRowId(key);
        if (found)
            m_table.edit();
        else
            m_table.append();
        try {
            m_table.setValue(xField, rows.value(row, xColumn));
            if (yField >= 0)
                m_table.setValue(yField, rows.value(row, yColumn));
            if (!found) {
                if (initialsColumn < 0)
                    initialsColumn = column("initials");
                m_table.setValue(F_rowid, key);
                m_table.setValue(F_product, rows.value(row, initialsColumn));
                m_table.setValue(F_bubbleradius, kImportedRadius);
            }
            m_table.post();
        } catch (...) {
            // The rows before stay; this one is not half-stored.
            m_table.cancel();
            throw;
        }
    }
}

} // namespace korvell
