// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include "NavigatorBar.h"

#include <QPointer>
#include <QWidget>

#include <vector>

class QTableView;

namespace korvell {

class BandedHeaderView;
class CoordTable;
class CoordTableModel;
class RecordIndicatorHeader;

/**
 * The values grid `cxGrid1`: the coordinate table in the banded view `vcoords`, one row per
 * product, scores grouped under bands by tab and matrix, a record indicator and a navigator.
 * Editing a cell puts its record into edit state; the edit is posted when the focus leaves
 * the row or through the navigator. The table's newRecord handler fills inserted rows.
 */
class ValuesGrid : public QWidget {
    Q_OBJECT
public:
    explicit ValuesGrid(CoordTable* table, QWidget* parent = nullptr);
    ~ValuesGrid() override;

    QTableView* view() const { return m_view; }
    CoordTableModel* model() const { return m_model; }
    BandedHeaderView* bandedHeader() const { return m_header; }
    NavigatorBar* navigator() const { return m_navigator; }

    /// Column of the view named `name` (such as "vcoordspm_x"), -1 when there is none.
    int columnIndex(const QString& name) const;
    QString columnCaption(const QString& name) const;
    void setColumnCaption(const QString& name, const QString& text);
    /// Bands counted from 0 in the view's band list.
    QString bandCaption(int index) const;
    void setBandCaption(int index, const QString& text);

    /// Adds a record before the focused one and focuses its first visible cell.
    void insertRecord();
    /// Removes the focused record at once.
    void deleteRecord();
    void postRecord();
    void cancelRecord();
    /// Puts the focused record into edit state and opens an editor on the focused cell.
    void editRecord();
    /// Focuses the table's current record (after the table moved on its own, for instance).
    void followTable();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildColumns();
    void applyColumnLayout();
    void fitColumns();
    void navigate(NavigatorBar::Button which);
    void moveToRow(int row);
    void currentRowChanged(const QModelIndex& current, const QModelIndex& previous);
    void updateNavigator();
    void commitEditor();
    void closeEditor();
    int firstVisibleColumn() const;
    QModelIndex nextCell(const QModelIndex& from) const;

    QPointer<CoordTable> m_table;
    CoordTableModel* m_model = nullptr;
    QTableView* m_view = nullptr;
    BandedHeaderView* m_header = nullptr;
    RecordIndicatorHeader* m_indicator = nullptr;
    NavigatorBar* m_navigator = nullptr;

    struct Column {
        QString name;
        int band;
        double weight;
        int minimumWidth;
        bool hidden;
    };
    std::vector<Column> m_columns;
    // Set while the grid moves the view itself, so the row-change handler does not post or move the table.
    bool m_syncing = false;
};

} // namespace korvell
