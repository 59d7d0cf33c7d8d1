// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include "DataSetFormat.h"

#include <QAbstractItemModel>
#include <QPointer>

#include <vector>

namespace korvell {

class SqlDataSet;

/**
 * The licence list as a tree: a row whose parent (`parent_user`) is among the listed rows sits
 * under it; every other row (the licence holders, whose partner is not listed) is at the top
 * level. Rows keep the dataset's order. Read-only; empty while the dataset is closed.
 */
class LicenceTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    LicenceTreeModel(SqlDataSet* dataSet, std::vector<DataSetColumn> columns, QObject* parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    /// Value of field in the dataset row of index; a null QVariant for an invalid index or an unknown field.
    QVariant fieldValue(const QModelIndex& index, const QString& field) const;

private:
    struct Node {
        int row;      ///< dataset row
        int parent;   ///< node index, -1 at the top level
        int position; ///< place among its parent's children
        std::vector<int> children;
    };

    void rebuild();
    const std::vector<int>& childrenOf(int node) const {
        return node < 0 ? m_topLevel : m_nodes[static_cast<std::size_t>(node)].children;
    }

    QPointer<SqlDataSet> m_dataSet;
    std::vector<DataSetColumn> m_columns;
    std::vector<Node> m_nodes;
    std::vector<int> m_topLevel;
};

} // namespace korvell
