// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include "DataSetFormat.h"

#include <QAbstractTableModel>
#include <QPointer>

#include <vector>

namespace korvell {

class SqlDataSet;

/// A read-only table of a dataset's rows: the given columns are shown; every field of a row can
/// still be read by name. Empty while the dataset is closed.
class DataSetTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    DataSetTableModel(SqlDataSet* dataSet, std::vector<DataSetColumn> columns, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const std::vector<DataSetColumn>& columns() const { return m_columns; }
    /// Value of field in row; a null QVariant for a field the dataset lacks.
    QVariant fieldValue(int row, const QString& field) const;

private:
    QPointer<SqlDataSet> m_dataSet;
    std::vector<DataSetColumn> m_columns;
};

} // namespace korvell
