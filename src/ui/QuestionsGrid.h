// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

class QLabel;
class QModelIndex;
class QTableView;
class QToolButton;

namespace korvell {

class BandedHeaderView;
class Connection;
class QuestionsModel;
class SqlDataSet;

/**
 * The questions grid `cxGrid2`: the questionnaire's questions four lines to a question, the code
 * and the language at the left, the question above its lowest and highest answer at the right.
 * Code, question and answer texts are edited in place and written to the database when the
 * focus leaves the question; the header's filter menu narrows the list.
 */
class QuestionsGrid : public QWidget {
    Q_OBJECT
public:
    explicit QuestionsGrid(QWidget* parent = nullptr);

    /// Opens the question and country lists on connection where they are closed (`cxTabSheet1Show`).
    void openDataSets(Connection* connection);

    QTableView* view() const { return m_view; }
    QuestionsModel* model() const { return m_model; }
    BandedHeaderView* bandedHeader() const { return m_header; }

    SqlDataSet* ADODataSetPerguntas = nullptr;
    SqlDataSet* ADODataSetPaises = nullptr;

    /// Writes the focused question if it was edited; throws Error when the database refuses it.
    void postCurrent();
    /// The filter menu of the column under a header position (the band above the answers is the question's).
    void showFilterMenu(const QPoint& headerPos);

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous);
    void applySpans();
    void updateFilterBar();
    int fieldAtHeader(const QPoint& headerPos) const;

    QuestionsModel* m_model = nullptr;
    QTableView* m_view = nullptr;
    BandedHeaderView* m_header = nullptr;
    QWidget* m_filterBar = nullptr;
    QLabel* m_filterText = nullptr;
    QToolButton* m_clearFilter = nullptr;
};

} // namespace korvell
