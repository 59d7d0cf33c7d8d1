// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractTableModel>
#include <QFont>
#include <QHash>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QVariantList>

#include <vector>

namespace korvell {

class SqlDataSet;

/**
 * The questions of the questionnaire laid out four lines to a question: each question takes two
 * rows of two-line cells. Column 0 holds the code and column 1 the language, each spanning both
 * rows; the first row's columns 2 and 3 hold the question, the second row's the lowest and the
 * highest answer. The language is looked up from the country list and cannot be edited.
 *
 * Edits are kept in the model until post() writes the question to the database; a question that
 * could not be written keeps the edited texts. Filters hide the questions that do not match.
 */
class QuestionsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Field { NoField = -1, Code, Language, Question, MinText, MaxText, FieldCount };

    QuestionsModel(SqlDataSet* questions, SqlDataSet* countries, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    /// The field a cell shows; NoField for the cells that a span covers.
    static Field fieldAt(int row, int column);
    /// The view cell of field for question number `question` (counted among the shown ones).
    QModelIndex indexOf(int question, Field field) const;
    /// Number of questions shown (after filtering).
    int questionCount() const { return static_cast<int>(m_shown.size()); }
    /// The shown question of a view row.
    static int questionOfRow(int row) { return row / 2; }
    static QString fieldCaption(Field field);

    /// The text a field shows for shown question `question`.
    QString text(int question, Field field) const;
    bool isModified(int question) const;
    /**
     * Writes an edited question to `perguntas` (an UPDATE keyed on `idpergunta`); does nothing for
     * an unedited one. Throws Error when the database refuses it or no longer has the question;
     * the edited texts stay in the model.
     */
    void post(int question);

    /// Shows only the questions whose field reads text (exact: equal, otherwise containing it;
    /// letter case ignored); an empty text removes the filter of the field.
    void setFilter(Field field, const QString& text, bool exact);
    void clearFilters();
    /// The active filters as a readable line; empty without filters.
    QString filterDescription() const;
    /// The distinct texts of a field over every question, sorted.
    QStringList distinctTexts(Field field) const;

private:
    struct Record {
        QVariantList values; ///< the dataset's row, edits included
        QSet<int> edited;    ///< dataset columns changed since the last write
    };
    struct Filter {
        QString text;
        bool exact = false;
    };

    void reload();
    void reloadCountries();
    void applyFilters();
    bool matches(const Record& record) const;
    QString recordText(const Record& record, Field field) const;
    qsizetype columnOf(Field field) const;

    QPointer<SqlDataSet> m_questions;
    QPointer<SqlDataSet> m_countries;
    std::vector<Record> m_records;
    std::vector<int> m_shown;
    QHash<QString, QString> m_countryNames;
    QHash<int, Filter> m_filters;
    QFont m_questionFont;
};

} // namespace korvell
