// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace korvell {

class CoordTable;
class CsvTable;

/// Moves products between CSV tables and the coordinate table.
class TableCsv {
public:
    /**
     * Appends one record per data row, as the import does: no defaults for the given columns (an empty
     * cell, or one of blanks in a number column, leaves its field empty); only when the column is absent does `rowid`
     * get a new GUID, `product` the placeholder "<PRODUCT>" and `bubbleradius` 0.4. The header names fields of the
     * table in any order and letter case. Throws Error naming the line and column for an unknown or
     * repeated column and for a value its field cannot hold; the table is then left partly filled.
     */
    static void load(const CsvTable& csv, CoordTable& table);

    /// The whole table as CSV text: a header of the 30 declared fields, then one line per record.
    static QString write(const CoordTable& table);

    /// The shortest text that reads back as the same double.
    static QString formatNumber(double value);
};

} // namespace korvell
