// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "CoordTableModel.h"

#include <algorithm>
#include <utility>

namespace korvell {

std::vector<int> CoordTableModel::allFields() {
    std::vector<int> fields{RecIdField};
    for (int f = 0; f < FieldCount; ++f)
        fields.push_back(f);
    return fields;
}

CoordTableModel::CoordTableModel(CoordTable* table, std::vector<int> columnFields, QObject* parent)
    : QAbstractTableModel(parent)
    , m_table(table)
    , m_fields(std::move(columnFields))
    , m_readOnly(m_fields.size(), false)
    , m_captions(m_fields.size()) {
    for (const int field : m_fields) {
        if (field != RecIdField && (field < 0 || field >= FieldCount))
            throw Error(QStringLiteral("No field %1 in the coordinate table").arg(field));
    }
    if (!table)
        return;
    m_rowCount = table->recordCount();
    connect(table, &CoordTable::aboutToReset, this, &CoordTableModel::beginTableReset);
    connect(table, &CoordTable::reset, this, &CoordTableModel::endTableReset);
    connect(table, &CoordTable::rowAboutToBeInserted, this, &CoordTableModel::beginTableInsert);
    connect(table, &CoordTable::rowInserted, this, &CoordTableModel::endTableInsert);
    connect(table, &CoordTable::rowAboutToBeRemoved, this, &CoordTableModel::beginTableRemove);
    connect(table, &CoordTable::rowRemoved, this, &CoordTableModel::endTableRemove);
    connect(table, &CoordTable::rowChanged, this, &CoordTableModel::emitRowChanged);
    connect(table, &CoordTable::stateChanged, this, &CoordTableModel::tableStateChanged);
    connect(table, &QObject::destroyed, this, [this] {
        beginResetModel();
        m_rowCount = 0;
        m_editRow = -1;
        endResetModel();
    });
}

void CoordTableModel::setColumnReadOnly(int column, bool readOnly) {
    m_readOnly.at(static_cast<std::size_t>(column)) = readOnly;
}

int CoordTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rowCount;
}

int CoordTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_fields.size());
}

bool CoordTableModel::showsBuffer(int row) const {
    return m_table->state() == CoordTable::State::Edit && m_table->currentIndex() == row;
}

QVariant CoordTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !checkIndex(index) || !m_table || !m_table->isOpen())
        return {};
    const int row = index.row();
    // While controls are disabled the announced rows may outnumber the stored ones.
    if (row >= m_table->recordCount())
        return {};
    const int field = fieldOf(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (field == RecIdField)
            return m_table->recId(row);
        return showsBuffer(row) ? m_table->fieldValue(field) : m_table->value(row, field);
    case Qt::TextAlignmentRole:
        if (field != RecIdField && CoordTable::fields()[static_cast<std::size_t>(field)].type == FieldType::String)
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignCenter);
    default:
        return {};
    }
}

int CoordTableModel::startEdit(int row, bool* started) {
    CoordTable& table = *m_table;
    if (table.state() == CoordTable::State::Insert) {
        // The pending new record takes its row now and pushes the edited one down.
        const int inserted = table.currentIndex();
        table.post();
        if (inserted <= row)
            ++row;
    } else if (table.state() == CoordTable::State::Edit && table.currentIndex() != row) {
        table.post();
    }
    if (table.state() == CoordTable::State::Browse) {
        if (table.currentIndex() != row)
            table.moveTo(row);
        table.edit();
        *started = true;
    }
    return row;
}

bool CoordTableModel::beginEdit(int row) {
    if (!m_table || !m_table->isOpen() || row < 0 || row >= std::min(m_rowCount, m_table->recordCount()))
        return false;
    bool started = false;
    try {
        m_editRow = startEdit(row, &started);
    } catch (const Error& e) {
        emit editFailed(e.text());
        return false;
    }
    return true;
}

bool CoordTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || !checkIndex(index) || !(flags(index) & Qt::ItemIsEditable) ||
        !m_table || !m_table->isOpen() || index.row() >= m_table->recordCount())
        return false;
    if (data(index, Qt::EditRole) == value)
        return true;
    bool started = false;
    int row = index.row();
    try {
        row = startEdit(row, &started);
        m_table->setValue(fieldOf(index.column()), value);
    } catch (const Error& e) {
        // An edit this call began must not linger with nothing changed.
        if (started)
            m_table->cancel();
        emit editFailed(e.text());
        return false;
    }
    m_editRow = row;
    emitRowChanged(row);
    return true;
}

Qt::ItemFlags CoordTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid() || !checkIndex(index))
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    const auto column = static_cast<std::size_t>(index.column());
    if (m_fields[column] != RecIdField && !m_readOnly[column])
        result |= Qt::ItemIsEditable;
    return result;
}

QVariant CoordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical || section < 0 || section >= columnCount())
        return {};
    const int field = fieldOf(section);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
        const QString& caption = m_captions[static_cast<std::size_t>(section)];
        if (!caption.isNull())
            return caption;
        if (field == RecIdField)
            return QStringLiteral("RecId");
        return QString::fromLatin1(CoordTable::fields()[static_cast<std::size_t>(field)].displayLabel);
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignCenter);
    default:
        return {};
    }
}

bool CoordTableModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role) {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount() ||
        (role != Qt::DisplayRole && role != Qt::EditRole))
        return false;
    // A null caption would fall back to the field's label: keep an empty text empty.
    QString caption = value.toString();
    if (caption.isNull())
        caption = QLatin1String("");
    m_captions[static_cast<std::size_t>(section)] = caption;
    emit headerDataChanged(orientation, section, section);
    return true;
}

void CoordTableModel::refresh() {
    beginTableReset();
    endTableReset();
}

void CoordTableModel::beginTableReset() {
    beginResetModel();
}

void CoordTableModel::endTableReset() {
    m_rowCount = m_table ? m_table->recordCount() : 0;
    m_editRow = m_table && m_table->state() == CoordTable::State::Edit ? m_table->currentIndex() : -1;
    endResetModel();
}

void CoordTableModel::beginTableInsert(int row) {
    beginInsertRows({}, row, row);
}

void CoordTableModel::endTableInsert() {
    ++m_rowCount;
    endInsertRows();
}

void CoordTableModel::beginTableRemove(int row) {
    beginRemoveRows({}, row, row);
}

void CoordTableModel::endTableRemove() {
    --m_rowCount;
    if (m_editRow >= m_rowCount)
        m_editRow = -1;
    endRemoveRows();
}

void CoordTableModel::emitRowChanged(int row) {
    if (row < 0 || row >= m_rowCount || m_fields.empty())
        return;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void CoordTableModel::tableStateChanged(CoordTable::State state) {
    if (state == CoordTable::State::Edit) {
        m_editRow = m_table->currentIndex();
        return;
    }
    // Leaving edit state (post or cancel): the row shows stored values again.
    const int row = std::exchange(m_editRow, -1);
    emitRowChanged(row);
}

} // namespace korvell
