// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "db/ResultSet.h"

#include "common/Error.h"

#include <utility>

namespace korvell {

ResultSet::ResultSet(QStringList columns, QList<QVariantList> rows)
    : m_columns(std::move(columns))
    , m_rows(std::move(rows)) {}

qsizetype ResultSet::columnIndex(const QString& name) const {
    for (qsizetype i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).compare(name, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

QVariant ResultSet::value(qsizetype row, const QString& column) const {
    const qsizetype index = columnIndex(column);
    if (index < 0) {
        throw Error(QStringLiteral("The query result has no column \"%1\".").arg(column));
    }
    return m_rows.at(row).at(index);
}

} // namespace korvell
