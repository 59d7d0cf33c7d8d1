// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "model/CoordTable.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace korvell {

namespace {

constexpr double kNull = std::numeric_limits<double>::quiet_NaN();

template <typename Vector> void insertAt(Vector& v, int row, typename Vector::value_type value) {
    v.insert(v.begin() + row, std::move(value));
}

template <typename Vector> void eraseAt(Vector& v, int row) {
    v.erase(v.begin() + row);
}

QString fieldName(int field) {
    return QString::fromLatin1(CoordTable::fields()[static_cast<std::size_t>(field)].name);
}

// A number given as text (the grid, a CSV file) is read in the C locale; surrounding blanks are
// forgiven, an empty text means an empty field.
double toNumber(const QVariant& value, int field) {
    if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray) {
        const QString text = value.toString().trimmed();
        if (text.isEmpty())
            return kNull;
        // A group separator would make "1,5" read as fifteen.
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator);
        bool ok = false;
        const double d = c.toDouble(text, &ok);
        if (!ok)
            throw Error(QStringLiteral("'%1' is not a valid number for field '%2'").arg(text, fieldName(field)));
        return d;
    }
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (!ok)
        throw Error(QStringLiteral("Field '%1' cannot hold a value of type %2")
                        .arg(fieldName(field), QString::fromLatin1(value.typeName())));
    return d;
}

} // namespace

CoordTable::CoordTable(QObject* parent)
    : QObject(parent) {}

CoordTable::~CoordTable() = default;

const std::vector<FieldDef>& CoordTable::fields() {
    static const std::vector<FieldDef> defs = {
        {"rowid", FieldType::String, 38, "rowid"},
        {"product", FieldType::String, 25, "Product"},
        {"bubbleradius", FieldType::Float, 0, "Bubble Radius"},
        {"pm_x", FieldType::Float, 0, "X"},
        {"pm_y", FieldType::Float, 0, "Y"},
        {"v_x", FieldType::Float, 0, "X"},
        {"v_y", FieldType::Float, 0, "Y"},
        {"e_x", FieldType::Float, 0, "X"},
        {"e_y", FieldType::Float, 0, "Y"},
        {"s_x", FieldType::Float, 0, "X"},
        {"msd_x", FieldType::Float, 0, "msd_x"},
        {"msd_y", FieldType::Float, 0, "msd_y"},
        {"nc_x", FieldType::Float, 0, "nc_x"},
        {"nc_y", FieldType::Float, 0, "nc_y"},
        {"cc_x", FieldType::Float, 0, "cc_x"},
        {"cc_y", FieldType::Float, 0, "cc_y"},
        {"res_pp_x", FieldType::Float, 0, "res_pp_x"},
        {"res_pp_y", FieldType::Float, 0, "res_pp_y"},
        {"res_pm_x", FieldType::Float, 0, "res_pm_x"},
        {"res_pm_y", FieldType::Float, 0, "res_pm_y"},
        {"res_s_y", FieldType::Float, 0, "res_s_y"},
        {"res_im_x", FieldType::Float, 0, "res_im_x"},
        {"res_im_y", FieldType::Float, 0, "res_im_y"},
        {"res_eva_x", FieldType::Float, 0, "res_eva_x"},
        {"res_eva_y", FieldType::Float, 0, "res_eva_y"},
        {"bcolor", FieldType::Integer, 0, "bcolor"},
        {"bm_tc_y", FieldType::Float, 0, "bm_tc_y"},
        {"bm_pc_x", FieldType::Float, 0, "bm_pc_x"},
        {"bm_oo_y", FieldType::Float, 0, "bm_oo_y"},
        {"bm_c_x", FieldType::Float, 0, "bm_c_x"},
    };
    return defs;
}

int CoordTable::fieldIndex(const QString& name) {
    const auto& defs = fields();
    for (std::size_t i = 0; i < defs.size(); ++i) {
        if (name.compare(QLatin1String(defs[i].name), Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

int CoordTable::requireField(const QString& name) {
    const int index = fieldIndex(name);
    if (index < 0)
        throw Error(QStringLiteral("Field '%1' not found").arg(name));
    return index;
}

void CoordTable::checkOpen() const {
    if (m_state == State::Inactive)
        throw Error(QStringLiteral("The coordinate table is not open"));
}

void CoordTable::throwBadCell(int row, int field) const {
    throw Error(QStringLiteral("No record %1, field %2 in the coordinate table").arg(row).arg(field));
}

void CoordTable::setState(State state) {
    if (m_state == state)
        return;
    m_state = state;
    if (notifying())
        emit stateChanged(state);
}

void CoordTable::notifyChanged() {
    if (notifying())
        emit changed();
}

void CoordTable::open() {
    if (isOpen())
        return;
    if (notifying())
        emit aboutToReset();
    clearStore();
    m_state = State::Browse;
    if (notifying()) {
        emit reset();
        emit stateChanged(m_state);
    }
    notifyChanged();
}

void CoordTable::close() {
    if (!isOpen())
        return;
    if (notifying())
        emit aboutToReset();
    clearStore();
    m_state = State::Inactive;
    if (notifying()) {
        emit reset();
        emit stateChanged(m_state);
    }
    notifyChanged();
}

void CoordTable::clearStore() {
    for (auto& column : m_numbers)
        column.clear();
    for (auto& column : m_texts)
        column.clear();
    m_recIds.clear();
    m_nextRecId = 1;
    m_keys.clear();
    m_keysStale = false;
    m_current = -1;
    m_savedCurrent = -1;
    m_eof = true;
}

void CoordTable::checkBrowseMode() {
    checkOpen();
    if (m_state == State::Edit || m_state == State::Insert)
        post();
}

void CoordTable::beginNew(int row) {
    m_savedCurrent = m_current;
    m_buffer.numbers.fill(kNull);
    m_buffer.texts.fill(QString());
    m_current = row;
    m_eof = false;
    setState(State::Insert);
    emit newRecord(this);
}

void CoordTable::append() {
    checkBrowseMode();
    beginNew(recordCount());
}

void CoordTable::insert() {
    checkBrowseMode();
    beginNew(m_current < 0 ? 0 : m_current);
}

void CoordTable::edit() {
    checkOpen();
    if (m_state != State::Browse)
        return;
    if (m_current < 0)
        throw Error(QStringLiteral("Cannot edit: the coordinate table is empty"));
    m_buffer = storedRecord(m_current);
    setState(State::Edit);
}

CoordTable::Record CoordTable::storedRecord(int row) const {
    Record r;
    const auto at = static_cast<std::size_t>(row);
    for (std::size_t f = 0; f < FieldCount; ++f) {
        r.numbers[f] = m_numbers[f][at];
        if (fields()[f].type == FieldType::String)
            r.texts[f] = m_texts[f][at];
    }
    return r;
}

void CoordTable::post() {
    checkOpen();
    if (m_state == State::Insert)
        storeNew(m_current);
    else if (m_state == State::Edit)
        storeEdit();
    else
        return;
    m_eof = false;
    setState(State::Browse);
    notifyChanged();
}

void CoordTable::storeNew(int row) {
    if (notifying())
        emit rowAboutToBeInserted(row);
    for (std::size_t f = 0; f < FieldCount; ++f) {
        insertAt(m_numbers[f], row, m_buffer.numbers[f]);
        if (fields()[f].type == FieldType::String)
            insertAt(m_texts[f], row, m_buffer.texts[f]);
    }
    insertAt(m_recIds, row, m_nextRecId++);

    if (row == recordCount() - 1 && !m_keysStale) {
        const QString& rowid = m_buffer.texts[F_rowid];
        if (!rowid.isEmpty()) {
            const QString key = keyOf(rowid);
            if (!m_keys.contains(key)) // an earlier record with the same key keeps it
                m_keys.insert(key, row);
        }
    } else {
        m_keysStale = true;
    }
    if (notifying())
        emit rowInserted(row);
}

void CoordTable::storeEdit() {
    const auto at = static_cast<std::size_t>(m_current);
    if (m_texts[F_rowid][at] != m_buffer.texts[F_rowid])
        m_keysStale = true;
    for (std::size_t f = 0; f < FieldCount; ++f) {
        m_numbers[f][at] = m_buffer.numbers[f];
        if (fields()[f].type == FieldType::String)
            m_texts[f][at] = m_buffer.texts[f];
    }
    if (notifying())
        emit rowChanged(m_current);
}

void CoordTable::cancel() {
    checkOpen();
    if (m_state == State::Browse)
        return;
    if (m_state == State::Insert)
        m_current = m_savedCurrent;
    m_eof = m_current < 0;
    setState(State::Browse);
}

void CoordTable::remove() {
    checkOpen();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_current < 0)
        throw Error(QStringLiteral("Cannot delete: the coordinate table is empty"));
    setState(State::Browse);
    const int row = m_current;
    if (notifying())
        emit rowAboutToBeRemoved(row);
    for (std::size_t f = 0; f < FieldCount; ++f) {
        eraseAt(m_numbers[f], row);
        if (fields()[f].type == FieldType::String)
            eraseAt(m_texts[f], row);
    }
    eraseAt(m_recIds, row);
    m_keysStale = true;
    m_current = std::min(row, recordCount() - 1);
    m_eof = m_current < 0;
    if (notifying())
        emit rowRemoved(row);
    notifyChanged();
}

void CoordTable::first() {
    checkBrowseMode();
    m_current = recordCount() > 0 ? 0 : -1;
    m_eof = m_current < 0;
}

void CoordTable::next() {
    checkBrowseMode();
    if (m_current + 1 < recordCount())
        ++m_current;
    else
        m_eof = true;
}

void CoordTable::moveTo(int index) {
    checkOpen();
    if (m_state != State::Browse)
        throw Error(QStringLiteral("Cannot move in the coordinate table while a record is being edited"));
    if (index < 0 || index >= recordCount())
        throw Error(QStringLiteral("No record %1 in the coordinate table").arg(index));
    m_current = index;
    m_eof = false;
}

void CoordTable::rebuildKeys() {
    m_keys.clear();
    m_keys.reserve(recordCount());
    const auto& rowids = m_texts[F_rowid];
    // Backwards, so that of several records with one key the first one ends up in the hash.
    for (int row = recordCount() - 1; row >= 0; --row) {
        const QString& rowid = rowids[static_cast<std::size_t>(row)];
        if (!rowid.isEmpty())
            m_keys.insert(keyOf(rowid), row);
    }
    m_keysStale = false;
}

bool CoordTable::locateRowId(const QString& key) {
    checkBrowseMode();
    if (m_keysStale)
        rebuildKeys();
    const auto it = m_keys.constFind(keyOf(key));
    if (it == m_keys.constEnd())
        return false;
    m_current = it.value();
    m_eof = false;
    return true;
}

QVariant CoordTable::cellValue(int field, double number, const QString& text) const {
    switch (fields()[static_cast<std::size_t>(field)].type) {
    case FieldType::String:
        return text.isEmpty() ? QVariant() : QVariant(text);
    case FieldType::Integer:
        return std::isnan(number) ? QVariant() : QVariant(static_cast<int>(number));
    case FieldType::Float:
        break;
    }
    return std::isnan(number) ? QVariant() : QVariant(number);
}

QVariant CoordTable::fieldValue(int field) const {
    checkOpen();
    if (field < 0 || field >= FieldCount)
        throw Error(QStringLiteral("No field %1 in the coordinate table").arg(field));
    const auto f = static_cast<std::size_t>(field);
    if (m_state == State::Edit || m_state == State::Insert)
        return cellValue(field, m_buffer.numbers[f], m_buffer.texts[f]);
    if (m_current < 0)
        return {};
    return value(m_current, field);
}

QVariant CoordTable::value(int row, int field) const {
    checkCell(row, field);
    const auto f = static_cast<std::size_t>(field);
    const auto at = static_cast<std::size_t>(row);
    const bool isString = fields()[f].type == FieldType::String;
    return cellValue(field, m_numbers[f][at], isString ? m_texts[f][at] : QString());
}

int CoordTable::recId(int row) const {
    checkCell(row, 0);
    return m_recIds[static_cast<std::size_t>(row)];
}

void CoordTable::setValue(int field, const QVariant& value) {
    checkOpen();
    if (field < 0 || field >= FieldCount)
        throw Error(QStringLiteral("No field %1 in the coordinate table").arg(field));
    if (m_state != State::Edit && m_state != State::Insert)
        throw Error(QStringLiteral("The coordinate table is not in edit or insert state"));
    const auto f = static_cast<std::size_t>(field);
    const FieldDef& def = fields()[f];
    const bool empty = !value.isValid() || value.isNull();

    if (def.type == FieldType::String) {
        m_buffer.texts[f] = empty ? QString() : value.toString().left(def.size);
        return;
    }
    double number = empty ? kNull : toNumber(value, field);
    if (def.type == FieldType::Integer && !std::isnan(number)) {
        number = std::round(number);
        if (!(number >= std::numeric_limits<std::int32_t>::min() && number <= std::numeric_limits<std::int32_t>::max()))
            throw Error(QStringLiteral("%1 is out of range for field '%2'").arg(value.toString(), fieldName(field)));
    }
    m_buffer.numbers[f] = number;
}

void CoordTable::disableControls() {
    ++m_disableCount;
}

void CoordTable::enableControls() {
    if (m_disableCount == 0)
        return;
    if (--m_disableCount > 0)
        return;
    emit aboutToReset();
    emit reset();
    emit changed();
}

} // namespace korvell
