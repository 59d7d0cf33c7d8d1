// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include "common/Error.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QVariant>

#include <array>
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
 *
 * Stored and pending values: value(), number() and recId() read posted records only. In edit or
 * insert state the changes live in a pending buffer that fieldValue() reads and setValue() writes;
 * post() stores it, cancel() drops it. A record being inserted is not a stored row until it is
 * posted: recordCount() does not count it and currentIndex() is the row it will take.
 *
 * Empty fields: a null QVariant; number() gives NaN. Setting NaN, a null QVariant or an empty
 * string empties a field.
 *
 * Item-model signals (none while controls are disabled):
 * - aboutToReset() / reset() around open(), close() and once from enableControls();
 * - rowAboutToBeInserted(row) / rowInserted(row) around the storing of a new record by post();
 * - rowAboutToBeRemoved(row) / rowRemoved(row) around remove();
 * - rowChanged(row) after an edit is posted;
 * - stateChanged(state) whenever the state changes.
 * recordCount() already has its new value when the "after" signal arrives and still its old
 * value with the "about to" signal, so the signals map one to one onto
 * beginInsertRows/endInsertRows, beginRemoveRows/endRemoveRows and beginResetModel/endResetModel.
 * An adapter should cache its row count between resets: while controls are disabled the table
 * changes without telling it.
 */
class CoordTable : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };

    explicit CoordTable(QObject* parent = nullptr);
    ~CoordTable() override;

    /// The 30 declared fields in declared order; a field without a caption of its own shows its name.
    static const std::vector<FieldDef>& fields();
    /// Index of a declared field by name, ignoring letter case; -1 when there is none.
    static int fieldIndex(const QString& name);
    /// Index of a declared field by name; throws Error naming the field when there is none.
    static int requireField(const QString& name);

    /// Opens a closed table, empty; does nothing on an open one.
    void open();
    /// Discards every record, a pending change included.
    void close();
    bool isOpen() const { return m_state != State::Inactive; }
    State state() const { return m_state; }

    /// Number of stored records; 0 when closed.
    int recordCount() const { return static_cast<int>(m_recIds.size()); }
    /// Index of the current record, -1 when the table is empty or closed.
    int currentIndex() const { return m_current; }
    /// True after next() on the last record, and on an empty or closed table.
    bool eof() const { return m_eof; }

    /**
     * Appends a record in insert state and raises newRecord; insert() places it before the current record.
     * A pending change is posted first. Throws Error when the table is closed.
     */
    void append();
    void insert();
    /// Puts the current record into edit state; throws Error when the table is closed or empty.
    void edit();
    /// Stores the pending record; the table returns to browse state. Does nothing in browse state.
    void post();
    /// Discards the pending change; a record in insert state disappears and the previous record is current again.
    void cancel();
    /// Removes the current record (a record in insert state is cancelled); throws Error when the table is empty.
    void remove();

    /// Navigation posts a pending change first.
    void first();
    void next();
    /// Makes record `index` current (posts nothing; the table must be in browse state).
    void moveTo(int index);
    /// Makes the record whose `rowid` equals key (ignoring letter case) current; false when there is none.
    bool locateRowId(const QString& key);

    /// Value of a field of the current record (the pending buffer in edit or insert state).
    QVariant fieldValue(int field) const;
    QVariant fieldValue(const QString& name) const { return fieldValue(requireField(name)); }
    /**
     * Setters work on the current record in edit or insert state (Error otherwise); strings are cut
     * to the field size, a text that is no number in a number field is an Error.
     */
    void setValue(int field, const QVariant& value);
    void setFloat(const QString& name, double value) { setValue(requireField(name), value); }
    void setString(const QString& name, const QString& value) { setValue(requireField(name), value); }
    void setVariant(const QString& name, const QVariant& value) { setValue(requireField(name), value); }

    /// Stored value of record `row` (posted data, not the pending buffer); a null QVariant is an empty field.
    QVariant value(int row, int field) const;
    /// Stored number of record `row`; NaN for an empty field and for the string fields.
    double number(int row, int field) const {
        checkCell(row, field);
        return m_numbers[static_cast<std::size_t>(field)][static_cast<std::size_t>(row)];
    }
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
    /// One record outside the store: the edit or insert buffer.
    struct Record {
        std::array<double, FieldCount> numbers{};
        std::array<QString, FieldCount> texts;
    };

    void checkOpen() const;
    void checkCell(int row, int field) const {
        if (row < 0 || row >= recordCount() || field < 0 || field >= FieldCount)
            throwBadCell(row, field);
    }
    [[noreturn]] void throwBadCell(int row, int field) const;
    void checkBrowseMode();
    void beginNew(int row);
    void setState(State state);
    void notifyChanged();
    bool notifying() const { return m_disableCount == 0; }
    Record storedRecord(int row) const;
    QVariant cellValue(int field, double number, const QString& text) const;
    void storeNew(int row);
    void storeEdit();
    void clearStore();
    void rebuildKeys();
    static QString keyOf(const QString& rowid) { return rowid.toUpper(); }

    // Column store: one vector per field, so that a series reading one field over every row
    // walks contiguous memory. String fields keep NaN in their number column.
    std::array<std::vector<double>, FieldCount> m_numbers;
    std::array<std::vector<QString>, FieldCount> m_texts;
    std::vector<int> m_recIds;
    int m_nextRecId = 1;

    // Upper-cased rowid -> first row holding it. Appends keep it current; any other change of
    // row positions or keys marks it stale, and the next look-up rebuilds it once.
    QHash<QString, int> m_keys;
    bool m_keysStale = false;

    Record m_buffer;
    int m_savedCurrent = -1;

    State m_state = State::Inactive;
    int m_current = -1;
    bool m_eof = true;
    int m_disableCount = 0;
};

} // namespace korvell
