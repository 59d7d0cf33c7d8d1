// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "QuestionsModel.h"

#include "common/Error.h"
#include "db/Connection.h"
#include "db/SqlDataSet.h"

#include <QColor>

#include <algorithm>

namespace korvell {

namespace {

const char* const kColumns[QuestionsModel::FieldCount] = {"codigo", "idpais", "questao", "minstr", "maxstr"};

QString uniqueKey(const QVariant& value) {
    return value.toString().trimmed().toUpper();
}

} // namespace

QuestionsModel::QuestionsModel(SqlDataSet* questions, SqlDataSet* countries, QObject* parent)
    : QAbstractTableModel(parent)
    , m_questions(questions)
    , m_countries(countries)
    , m_questionFont(QStringLiteral("Tahoma"), 8, QFont::Bold) {
    connect(questions, &SqlDataSet::aboutToChange, this, &QuestionsModel::beginResetModel);
    connect(questions, &SqlDataSet::changed, this, [this] {
        reload();
        endResetModel();
    });
    connect(countries, &SqlDataSet::changed, this, [this] {
        reloadCountries();
        if (!m_shown.empty())
            emit dataChanged(index(0, 1), index(rowCount() - 1, 1));
    });
}

void QuestionsModel::reload() {
    m_records.clear();
    if (m_questions && m_questions->isOpen()) {
        const ResultSet& rows = m_questions->result();
        m_records.reserve(static_cast<std::size_t>(rows.rowCount()));
        for (qsizetype row = 0; row < rows.rowCount(); ++row)
            m_records.push_back(Record{rows.row(row), {}});
    }
    applyFilters();
}

void QuestionsModel::reloadCountries() {
    m_countryNames.clear();
    if (!m_countries || !m_countries->isOpen())
        return;
    const ResultSet& rows = m_countries->result();
    const qsizetype key = rows.columnIndex(QStringLiteral("idpais"));
    const qsizetype name = rows.columnIndex(QStringLiteral("pais"));
    if (key < 0 || name < 0)
        return;
    for (qsizetype row = 0; row < rows.rowCount(); ++row)
        m_countryNames.insert(uniqueKey(rows.value(row, key)), rows.value(row, name).toString());
}

qsizetype QuestionsModel::columnOf(Field field) const {
    if (!m_questions || field < 0 || field >= FieldCount)
        return -1;
    return m_questions->result().columnIndex(QString::fromLatin1(kColumns[field]));
}

QString QuestionsModel::recordText(const Record& record, Field field) const {
    const qsizetype column = columnOf(field);
    if (column < 0)
        return {};
    const QVariant value = record.values.at(column);
    if (field == Language)
        return m_countryNames.value(uniqueKey(value));
    return value.toString();
}

QString QuestionsModel::text(int question, Field field) const {
    if (question < 0 || question >= questionCount())
        return {};
    return recordText(m_records[static_cast<std::size_t>(m_shown[static_cast<std::size_t>(question)])], field);
}

QuestionsModel::Field QuestionsModel::fieldAt(int row, int column) {
    const bool first = row % 2 == 0;
    switch (column) {
    case 0:
        return first ? Code : NoField;
    case 1:
        return first ? Language : NoField;
    case 2:
        return first ? Question : MinText;
    case 3:
        return first ? NoField : MaxText;
    default:
        return NoField;
    }
}

QModelIndex QuestionsModel::indexOf(int question, Field field) const {
    switch (field) {
    case Code:
        return index(question * 2, 0);
    case Language:
        return index(question * 2, 1);
    case Question:
        return index(question * 2, 2);
    case MinText:
        return index(question * 2 + 1, 2);
    case MaxText:
        return index(question * 2 + 1, 3);
    default:
        return {};
    }
}

QString QuestionsModel::fieldCaption(Field field) {
    switch (field) {
    case Code:
        return QStringLiteral("Code");
    case Language:
        return QStringLiteral("Lang.");
    case Question:
        return QStringLiteral("Question");
    case MinText:
        return QStringLiteral("Min.");
    case MaxText:
        return QStringLiteral("Max.");
    default:
        return {};
    }
}

int QuestionsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : questionCount() * 2;
}

int QuestionsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 4;
}

QVariant QuestionsModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const Field field = fieldAt(index.row(), index.column());
    if (field == NoField)
        return {};
    const int question = questionOfRow(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::ToolTipRole:
        return text(question, field);
    case Qt::FontRole:
        return field == Question ? QVariant(m_questionFont) : QVariant();
    case Qt::ForegroundRole:
        // Texts not yet in the database stand out until they are written.
        return isModified(question) ? QVariant(QColor(0xB0, 0x00, 0x00)) : QVariant();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(field == Code || field == Language ? Qt::AlignLeft | Qt::AlignTop
                                                                      : Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

bool QuestionsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    if (!(flags(index) & Qt::ItemIsEditable))
        return false;
    const Field field = fieldAt(index.row(), index.column());
    const qsizetype column = columnOf(field);
    if (column < 0)
        return false;
    Record& record = m_records[static_cast<std::size_t>(m_shown[static_cast<std::size_t>(questionOfRow(index.row()))])];
    if (record.values.at(column).toString() == value.toString())
        return true;
    record.values[column] = value.toString();
    record.edited.insert(static_cast<int>(column));
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags QuestionsModel::flags(const QModelIndex& index) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return Qt::NoItemFlags;
    const Field field = fieldAt(index.row(), index.column());
    if (field == NoField)
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return field == Language ? flags : flags | Qt::ItemIsEditable;
}

QVariant QuestionsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Vertical)
        return QString();
    static const Field captions[] = {Code, Language, MinText, MaxText};
    return section >= 0 && section < 4 ? fieldCaption(captions[section]) : QVariant();
}

bool QuestionsModel::isModified(int question) const {
    return question >= 0 && question < questionCount() &&
           !m_records[static_cast<std::size_t>(m_shown[static_cast<std::size_t>(question)])].edited.isEmpty();
}

void QuestionsModel::post(int question) {
    if (!isModified(question))
        return;
    Record& record = m_records[static_cast<std::size_t>(m_shown[static_cast<std::size_t>(question)])];
    Connection* connection = m_questions ? m_questions->connection() : nullptr;
    if (!connection)
        throw Error(QStringLiteral("The question cannot be saved: there is no database connection."));
    const qsizetype key = m_questions->result().columnIndex(QStringLiteral("idpergunta"));
    if (key < 0)
        throw Error(QStringLiteral("The question cannot be saved: the list has no column \"idpergunta\"."));
    QVariantMap parameters{{QStringLiteral("idpergunta"), record.values.at(key)}};
    for (Field field : {Code, Question, MinText, MaxText})
        parameters.insert(QString::fromLatin1(kColumns[field]), record.values.at(columnOf(field)));
    const int changed = connection->execute(QStringLiteral("UPDATE perguntas SET codigo = :codigo, questao = :questao, "
                                                           "minstr = :minstr, maxstr = :maxstr "
                                                           "WHERE idpergunta = :idpergunta"),
                                            parameters);
    if (changed == 0)
        throw Error(QStringLiteral("The question %1 is no longer in the database; your changes were not saved.")
                        .arg(recordText(record, Code)));
    record.edited.clear();
}

void QuestionsModel::setFilter(Field field, const QString& text, bool exact) {
    if (field < 0 || field >= FieldCount)
        return;
    beginResetModel();
    if (text.isEmpty())
        m_filters.remove(field);
    else
        m_filters.insert(field, Filter{text, exact});
    applyFilters();
    endResetModel();
}

void QuestionsModel::clearFilters() {
    beginResetModel();
    m_filters.clear();
    applyFilters();
    endResetModel();
}

QString QuestionsModel::filterDescription() const {
    QStringList parts;
    for (int field = 0; field < FieldCount; ++field) {
        const auto it = m_filters.constFind(field);
        if (it == m_filters.cend())
            continue;
        parts << QStringLiteral("%1 %2 \"%3\"")
                     .arg(fieldCaption(static_cast<Field>(field)),
                          it->exact ? QStringLiteral("is") : QStringLiteral("contains"), it->text);
    }
    return parts.join(QStringLiteral(" and "));
}

QStringList QuestionsModel::distinctTexts(Field field) const {
    QStringList texts;
    for (const Record& record : m_records)
        texts << recordText(record, field);
    texts.removeDuplicates();
    std::sort(texts.begin(), texts.end(),
              [](const QString& a, const QString& b) { return a.localeAwareCompare(b) < 0; });
    return texts;
}

bool QuestionsModel::matches(const Record& record) const {
    for (auto it = m_filters.cbegin(); it != m_filters.cend(); ++it) {
        const QString value = recordText(record, static_cast<Field>(it.key()));
        const bool hit = it->exact ? value.compare(it->text, Qt::CaseInsensitive) == 0
                                   : value.contains(it->text, Qt::CaseInsensitive);
        if (!hit)
            return false;
    }
    return true;
}

void QuestionsModel::applyFilters() {
    m_shown.clear();
    for (int i = 0; i < static_cast<int>(m_records.size()); ++i) {
        if (matches(m_records[static_cast<std::size_t>(i)]))
            m_shown.push_back(i);
    }
}

} // namespace korvell
