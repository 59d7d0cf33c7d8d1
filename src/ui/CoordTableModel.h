// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include "model/CoordTable.h"

#include <QAbstractTableModel>
#include <QPointer>

#include <vector>

namespace korvell {

/**
 * Item model over the coordinate table: one row per stored record, one column per entry of a
 * column map (a declared field or the automatic RecId; a field may appear in several columns).
 *
 * The current record's pending buffer is what the model shows for that row while the table is
 * in edit state. setData() makes the record current and puts the table into edit state; the
 * change stays pending until someone posts it (the grid does when the focus leaves the row).
 */
class CoordTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    /// Column-map entry standing for the automatic record number.
    static constexpr int RecIdField = -1;

    /// Every field: RecId, then the 30 declared fields in declared order.
    static std::vector<int> allFields();

    explicit CoordTableModel(CoordTable* table, std::vector<int> columnFields = allFields(), QObject* parent = nullptr);

    CoordTable* table() const { return m_table; }
    /// Field shown in a column (a CoordField or RecIdField).
    int fieldOf(int column) const { return m_fields.at(static_cast<std::size_t>(column)); }
    /// A read-only column refuses edits whatever its field; RecId is always read-only.
    void setColumnReadOnly(int column, bool readOnly);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;

    /**
     * Makes record `row` current and puts it into edit state, posting a pending change of another
     * record first (an editor calls this on the first keystroke). False when the table refuses.
     */
    bool beginEdit(int row);

    /// Reads the whole table again (the navigator's refresh).
    void refresh();

signals:
    /// The table refused an edit (its text is for the user).
    void editFailed(const QString& text);

private:
    void beginTableReset();
    void endTableReset();
    void beginTableInsert(int row);
    void endTableInsert();
    void beginTableRemove(int row);
    void endTableRemove();
    void emitRowChanged(int row);
    void tableStateChanged(CoordTable::State state);
    bool showsBuffer(int row) const;
    int startEdit(int row, bool* started);

    QPointer<CoordTable> m_table;
    std::vector<int> m_fields;
    std::vector<bool> m_readOnly;
    std::vector<QString> m_captions;
    // Rows as last announced to views; the table may change silently while its controls are disabled.
    int m_rowCount = 0;
    // The row whose pending buffer is shown, so that a cancel can repaint it.
    int m_editRow = -1;
};

} // namespace korvell
