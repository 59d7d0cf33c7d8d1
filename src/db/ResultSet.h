// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace korvell {

/// The rows of a query, read in full (a static cursor): the column names as the engine gives
/// them and one list of values per row. Columns are found by name without regard to case,
/// since engines differ in the case they give unquoted names.
class ResultSet {
public:
    ResultSet() = default;
    ResultSet(QStringList columns, QList<QVariantList> rows);

    const QStringList& columns() const { return m_columns; }
    qsizetype rowCount() const { return m_rows.size(); }
    bool isEmpty() const { return m_rows.isEmpty(); }

    /// The index of the column called name, or -1.
    qsizetype columnIndex(const QString& name) const;
    bool hasColumn(const QString& name) const { return columnIndex(name) >= 0; }

    const QVariantList& row(qsizetype row) const { return m_rows.at(row); }
    QVariant value(qsizetype row, qsizetype column) const { return m_rows.at(row).at(column); }
    /// Throws Error when the result has no column called column.
    QVariant value(qsizetype row, const QString& column) const;

private:
    QStringList m_columns;
    QList<QVariantList> m_rows;
};

} // namespace korvell
