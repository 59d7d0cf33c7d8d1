// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "DataSetTableModel.h"

#include "db/SqlDataSet.h"

namespace korvell {

DataSetTableModel::DataSetTableModel(SqlDataSet* dataSet, std::vector<DataSetColumn> columns, QObject* parent)
    : QAbstractTableModel(parent)
    , m_dataSet(dataSet)
    , m_columns(std::move(columns)) {
    connect(dataSet, &SqlDataSet::aboutToChange, this, &DataSetTableModel::beginResetModel);
    connect(dataSet, &SqlDataSet::changed, this, &DataSetTableModel::endResetModel);
}

int DataSetTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_dataSet ? 0 : static_cast<int>(m_dataSet->rowCount());
}

int DataSetTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant DataSetTableModel::fieldValue(int row, const QString& field) const {
    if (!m_dataSet || row < 0 || row >= m_dataSet->rowCount())
        return {};
    const qsizetype column = m_dataSet->result().columnIndex(field);
    return column < 0 ? QVariant() : m_dataSet->result().value(row, column);
}

QVariant DataSetTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const DataSetColumn& column = m_columns[static_cast<std::size_t>(index.column())];
    if (role == Qt::DisplayRole)
        return displayText(fieldValue(index.row(), column.field), column.kind);
    if (role == Qt::TextAlignmentRole && column.kind == FieldKind::Currency)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant DataSetTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < static_cast<int>(m_columns.size()))
        return m_columns[static_cast<std::size_t>(section)].caption;
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace korvell
