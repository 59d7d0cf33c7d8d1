// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include "common/Error.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QVariant>

#include <vector>

namespace korvell {

/// Type of a declared field of the coordinate table.
enum class FieldType { String, Float, Integer };

/// One declared field: name, type, size (strings) and display label.
struct FieldDef {
    const char* name;
    FieldType type;
    int size;
    const char* displayLabel;
};

/// Declared fields, in declared order; the values are indexes into CoordTable::fields().
enum CoordField : int {
    F_rowid,
    F_product,
    F_bubbleradius,
    F_pm_x,
    F_pm_y,
    F_v_x,
    F_v_y,
    F_e_x,
    F_e_y,
    F_s_x,
    F_msd_x,
    F_msd_y,
    F_nc_x,
    F_nc_y,
    F_cc_x,
    F_cc_y,
    F_res_pp_x,
    F_res_pp_y,
    F_res_pm_x,
    F_res_pm_y,
    F_res_s_y,
    F_res_im_x,
    F_res_im_y,
    F_res_eva_x,
    F_res_eva_y,
    F_bcolor,
    F_bm_tc_y,
    F_bm_pc_x,
    F_bm_oo_y,
    F_bm_c_x,
    FieldCount
};

/**
 * The in-memory coordinate table `memCoord`: the 30 declared fields plus the automatic `RecId`,
 * records kept in append order, a current record with browse / edit / insert states, and
 * change notifications for the grid and the charts.
 */
class CoordTable : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };

    explicit CoordTable(QObject* parent = nullptr);
    ~CoordTable() override;

    /// The 30 declared fields in declared order.
    static const std::vector<FieldDef>& fields();
    /// Index of a declared field by name, ignoring letter case; -1 when there is none.
    static int fieldIndex(const QString& name);
    /// Index of a declared field by name; throws Error naming the field when there is none.
    static int requireField(const QString& name);

    void open();
    /// Discards every record.
    void close();
    bool isOpen() const { return m_state != State::Inactive; }
    State state() const { return m_state; }

    int recordCount() const;
    /// Index of the current record, -1 when the table is empty or closed.
    int currentIndex() const { return m_current; }
    bool eof() const { return m_eof; }

    /// Appends a record in insert state and raises newRecord; insert() places it before the current record.
    void append();
    void insert();
    void edit();
    /// Stores the pending record; the table returns to browse state.
    void post();
    /// Discards the pending change; a record in insert state disappears.
    void cancel();
    /// Removes the current record (browse state).
    void remove();

    void first();
    void next();
    /// Makes record `index` current (posts nothing; the table must be in browse state).
    void moveTo(int index);
    /// Makes the record whose `rowid` equals key (ignoring letter case) current; false when there is none.
    bool locateRowId(const QString& key);

    /// Value of a field of the current record (the pending buffer in edit or insert state).
    QVariant fieldValue(int field) const;
    QVariant fieldValue(const QString& name) const { return fieldValue(requireField(name)); }
    /// Setters work on the current record in edit or insert state; strings are cut to the field size.
    void setValue(int field, const QVariant& value);
    void setFloat(const QString& name, double value) { setValue(requireField(name), value); }
    void setString(const QString& name, const QString& value) { setValue(requireField(name), value); }
    void setVariant(const QString& name, const QVariant& value) { setValue(requireField(name), value); }

    /// Stored value of record `row` (posted data, not the pending buffer); a null QVariant is an empty field.
    QVariant value(int row, int field) const;
    /// Stored number of record `row`; NaN for an empty field.
    double number(int row, int field) const;
    /// Automatic record number of record `row`.
    int recId(int row) const;

    /// While disabled, no change notification reaches bound views; enabling again announces a full reset.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }

signals:
    /// A record was appended or inserted and is in insert state (`memCoordNewRecord`).
    void newRecord(korvell::CoordTable* table);
    /// The table returned to browse state after a change: bound charts reload.
    void changed();
    /// Fine-grained notifications for item models (not sent while controls are disabled).
    void aboutToReset();
    void reset();
    void rowAboutToBeInserted(int row);
    void rowInserted(int row);
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void stateChanged(korvell::CoordTable::State state);

private:
    // Storage is private to the implementation; keep the public API above stable.
    State m_state = State::Inactive;
    int m_current = -1;
    bool m_eof = true;
    int m_disableCount = 0;
};

} // namespace korvell
