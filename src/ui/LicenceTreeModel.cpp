// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "LicenceTreeModel.h"

#include "db/SqlDataSet.h"

#include <QHash>

namespace korvell {

LicenceTreeModel::LicenceTreeModel(SqlDataSet* dataSet, std::vector<DataSetColumn> columns, QObject* parent)
    : QAbstractItemModel(parent)
    , m_dataSet(dataSet)
    , m_columns(std::move(columns)) {
    connect(dataSet, &SqlDataSet::aboutToChange, this, &LicenceTreeModel::beginResetModel);
    connect(dataSet, &SqlDataSet::changed, this, [this] {
        rebuild();
        endResetModel();
    });
}

void LicenceTreeModel::rebuild() {
    m_nodes.clear();
    m_topLevel.clear();
    if (!m_dataSet || !m_dataSet->isOpen())
        return;
    const ResultSet& rows = m_dataSet->result();
    const qsizetype keyColumn = rows.columnIndex(QStringLiteral("idutilizador"));
    const qsizetype parentColumn = rows.columnIndex(QStringLiteral("parent_user"));
    QHash<QString, int> byKey;
    m_nodes.reserve(static_cast<std::size_t>(rows.rowCount()));
    for (int row = 0; row < rows.rowCount(); ++row) {
        m_nodes.push_back(Node{row, -1, 0, {}});
        if (keyColumn >= 0)
            byKey.insert(rows.value(row, keyColumn).toString().toUpper(), row);
    }
    const int count = static_cast<int>(m_nodes.size());
    for (int node = 0; node < count; ++node) {
        const QString parentKey = parentColumn < 0 ? QString() : rows.value(node, parentColumn).toString().toUpper();
        m_nodes[static_cast<std::size_t>(node)].parent = parentKey.isEmpty() ? -1 : byKey.value(parentKey, -1);
    }
    // Rows whose parents lead round in a circle would never be reached from the top: they start it.
    for (int node = 0; node < count; ++node) {
        int steps = 0;
        int up = m_nodes[static_cast<std::size_t>(node)].parent;
        while (up >= 0 && steps++ <= count)
            up = m_nodes[static_cast<std::size_t>(up)].parent;
        if (up >= 0)
            m_nodes[static_cast<std::size_t>(node)].parent = -1;
    }
    for (int node = 0; node < count; ++node) {
        Node& current = m_nodes[static_cast<std::size_t>(node)];
        std::vector<int>& siblings =
            current.parent < 0 ? m_topLevel : m_nodes[static_cast<std::size_t>(current.parent)].children;
        current.position = static_cast<int>(siblings.size());
        siblings.push_back(node);
    }
}

QModelIndex LicenceTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column < 0 || column >= columnCount() || row < 0)
        return {};
    const int parentNode = parent.isValid() ? static_cast<int>(parent.internalId()) : -1;
    const std::vector<int>& children = childrenOf(parentNode);
    if (row >= static_cast<int>(children.size()))
        return {};
    return createIndex(row, column, static_cast<quintptr>(children[static_cast<std::size_t>(row)]));
}

QModelIndex LicenceTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid())
        return {};
    const int parentNode = m_nodes[static_cast<std::size_t>(child.internalId())].parent;
    if (parentNode < 0)
        return {};
    return createIndex(m_nodes[static_cast<std::size_t>(parentNode)].position, 0, static_cast<quintptr>(parentNode));
}

int LicenceTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() && parent.column() != 0)
        return 0;
    return static_cast<int>(childrenOf(parent.isValid() ? static_cast<int>(parent.internalId()) : -1).size());
}

int LicenceTreeModel::columnCount(const QModelIndex&) const {
    return static_cast<int>(m_columns.size());
}

QVariant LicenceTreeModel::fieldValue(const QModelIndex& index, const QString& field) const {
    if (!index.isValid() || !m_dataSet)
        return {};
    const int row = m_nodes[static_cast<std::size_t>(index.internalId())].row;
    const qsizetype column = m_dataSet->result().columnIndex(field);
    return column < 0 ? QVariant() : m_dataSet->result().value(row, column);
}

QVariant LicenceTreeModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const DataSetColumn& column = m_columns[static_cast<std::size_t>(index.column())];
    if (role == Qt::DisplayRole)
        return displayText(fieldValue(index, column.field), column.kind);
    if (role == Qt::TextAlignmentRole && column.kind == FieldKind::Currency)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant LicenceTreeModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < columnCount())
        return m_columns[static_cast<std::size_t>(section)].caption;
    return QAbstractItemModel::headerData(section, orientation, role);
}

} // namespace korvell
