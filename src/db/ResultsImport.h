// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <array>
#include <functional>

namespace korvell {

class CoordTable;
class MapModel;
class ResultSet;
class SqlDataSet;

/**
 * The import of questionnaire results (`ImportData`): ten procedure calls, one per question group,
 * merged into the coordinate table as one record per answering user, then written back through
 * the map model and recomputed. It writes nothing to the database.
 */
class ResultsImport {
public:
    /// One import step: the procedure call and the fields its "x" and "y" columns fill.
    struct Step {
        const char* group;
        const char* command;
        const char* questionnaireType;
        const char* xField;
        const char* yField; ///< nullptr: the step reads no "y" column
    };

    /// Product id of the per-user import: the procedures take every product's answers for it.
    static QString perUserProductId();
    /// The ten steps in the order they run.
    static const std::array<Step, 10>& steps();
    /// "EXEC name" followed directly by the four quoted arguments, separated by bare commas.
    static QString commandText(const Step& step, const QString& userId, const QString& productId);

    /// The licence list (`qryLics`, parameter `parent_user`) and the product list (`qryProdutos`,
    /// parameter `idlicensa`) of the import window.
    static QString licenceListSql();
    static QString productListSql();

    /**
     * query runs the steps (`qryGetData`); setImporting raises and lowers the map window's
     * `FImporting`, under which appended records get no defaults.
     */
    ResultsImport(SqlDataSet& query, CoordTable& table, MapModel& model, std::function<void(bool)> setImporting);

    /**
     * Empties the table, runs the ten steps and hands the table to the map model. A failing step
     * throws Error: the records written so far stay, the record being written is dropped,
     * `FImporting` is lowered and no write-back runs.
     */
    void run(const QString& userId, const QString& productId);

    /// Merges the rows of one step into the table (the table must be open).
    void applyStep(const Step& step, const ResultSet& rows);

private:
    SqlDataSet& m_query;
    CoordTable& m_table;
    MapModel& m_model;
    std::function<void(bool)> m_setImporting;
};

} // namespace korvell
