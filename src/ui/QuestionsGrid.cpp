// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "QuestionsGrid.h"

#include "BandedHeaderView.h"
#include "CellDelegate.h"
#include "Dialogs.h"
#include "QuestionsModel.h"
#include "db/SqlDataSet.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace korvell {

namespace {

constexpr int kCodeLength = 20;
constexpr int kAnswerLength = 500;
// Widths in the design's proportions: code and language, then the two answers under the question.
constexpr int kWidths[] = {80, 96, 127, 127};
// Distinct values offered in a filter menu; past that, the custom filter serves.
constexpr int kMenuValues = 60;

} // namespace

QuestionsGrid::QuestionsGrid(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("cxGrid2"));
    QFont font(QStringLiteral("Tahoma"), 8);
    setFont(font);

    ADODataSetPerguntas = new SqlDataSet(this);
    ADODataSetPerguntas->setObjectName(QStringLiteral("ADODataSetPerguntas"));
    ADODataSetPerguntas->setCommandText(QStringLiteral("SELECT * FROM perguntas"));
    ADODataSetPaises = new SqlDataSet(this);
    ADODataSetPaises->setObjectName(QStringLiteral("ADODataSetPaises"));
    ADODataSetPaises->setCommandText(QStringLiteral("SELECT * FROM PAISES"));

    m_model = new QuestionsModel(ADODataSetPerguntas, ADODataSetPaises, this);
    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("cxGrid2DBBandedTableView1"));
    m_header = new BandedHeaderView(m_view);
    m_view->setHorizontalHeader(m_header);
    m_view->setModel(m_model);
    // The question band heads the two answers beneath it, as the question heads them in each row.
    m_header->setBands({{QString(), -1, true}, {QuestionsModel::fieldCaption(QuestionsModel::Question), -1, true}});
    m_header->setColumnBand(0, 0);
    m_header->setColumnBand(1, 0);
    m_header->setColumnBand(2, 1);
    m_header->setColumnBand(3, 1);
    m_header->setSectionsMovable(false);
    // Code and language keep their width; the texts take the rest.
    for (int column = 0; column < 4; ++column) {
        m_header->setSectionResizeMode(column, column < 2 ? QHeaderView::Interactive : QHeaderView::Stretch);
        m_header->resizeSection(column, kWidths[column]);
    }
    m_header->setToolTip(tr("Click a caption to filter by its column."));
    m_view->setItemDelegateForColumn(0, new CellDelegate(kCodeLength, m_view));
    m_view->setItemDelegateForColumn(2, new CellDelegate(0, m_view));
    m_view->setItemDelegateForColumn(3, new CellDelegate(kAnswerLength, m_view));
    m_view->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setWordWrap(true);
    m_view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    QHeaderView* rows = m_view->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Interactive);
    rows->setDefaultSectionSize(2 * m_view->fontMetrics().lineSpacing() + 8);
    rows->setFixedWidth(12);

    m_filterBar = new QWidget(this);
    m_filterText = new QLabel(m_filterBar);
    m_filterText->setObjectName(QStringLiteral("filterText"));
    m_clearFilter = new QToolButton(m_filterBar);
    m_clearFilter->setObjectName(QStringLiteral("clearFilter"));
    m_clearFilter->setText(tr("Clear filter"));
    auto* filterRow = new QHBoxLayout(m_filterBar);
    filterRow->setContentsMargins(4, 2, 4, 2);
    filterRow->addWidget(m_filterText, 1);
    filterRow->addWidget(m_clearFilter);
    m_filterBar->hide();

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_view, 1);
    column->addWidget(m_filterBar);

    connect(m_model, &QAbstractItemModel::modelReset, this, &QuestionsGrid::applySpans);
    connect(m_model, &QAbstractItemModel::modelReset, this, &QuestionsGrid::updateFilterBar);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this, &QuestionsGrid::currentChanged);
    connect(m_header, &QHeaderView::sectionClicked, this,
            [this] { showFilterMenu(m_header->mapFromGlobal(QCursor::pos())); });
    connect(m_clearFilter, &QToolButton::clicked, this, [this] {
        guarded(this, [this] {
            postCurrent();
            m_model->clearFilters();
        });
    });
}

void QuestionsGrid::openDataSets(Connection* connection) {
    if (ADODataSetPerguntas->isOpen() && ADODataSetPaises->isOpen())
        return;
    const BusyCursor busy;
    for (SqlDataSet* dataSet : {ADODataSetPerguntas, ADODataSetPaises}) {
        if (dataSet->isOpen())
            continue;
        dataSet->setConnection(connection);
        dataSet->open();
    }
}

void QuestionsGrid::applySpans() {
    m_view->clearSpans();
    for (int question = 0; question < m_model->questionCount(); ++question) {
        const int row = question * 2;
        m_view->setSpan(row, 0, 2, 1);
        m_view->setSpan(row, 1, 2, 1);
        m_view->setSpan(row, 2, 1, 2);
    }
}

void QuestionsGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (!previous.isValid())
        return;
    const int left = QuestionsModel::questionOfRow(previous.row());
    if (current.isValid() && QuestionsModel::questionOfRow(current.row()) == left)
        return;
    // A refused question stays edited (and marked), so leaving it again tries again.
    guarded(this, [this, left] { m_model->post(left); });
}

void QuestionsGrid::postCurrent() {
    const QModelIndex current = m_view->currentIndex();
    if (current.isValid())
        m_model->post(QuestionsModel::questionOfRow(current.row()));
}

void QuestionsGrid::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    guarded(this, [this] { postCurrent(); });
}

int QuestionsGrid::fieldAtHeader(const QPoint& headerPos) const {
    const int column = m_header->logicalIndexAt(headerPos);
    if (column < 0)
        return QuestionsModel::NoField;
    if (column >= 2 && headerPos.y() < m_header->bandAreaHeight())
        return QuestionsModel::Question;
    static const QuestionsModel::Field fields[] = {QuestionsModel::Code, QuestionsModel::Language,
                                                   QuestionsModel::MinText, QuestionsModel::MaxText};
    return fields[column];
}

void QuestionsGrid::showFilterMenu(const QPoint& headerPos) {
    const int picked = fieldAtHeader(headerPos);
    if (picked == QuestionsModel::NoField)
        return;
    const auto field = static_cast<QuestionsModel::Field>(picked);
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("filterMenu"));
    QAction* all = menu.addAction(tr("(All)"));
    QAction* custom = menu.addAction(tr("(Custom...)"));
    menu.addSeparator();
    const QStringList values = m_model->distinctTexts(field);
    for (const QString& value : values.mid(0, kMenuValues)) {
        if (value.isEmpty())
            continue;
        QString label = value;
        if (label.size() > 60)
            label = label.left(57) + QStringLiteral("...");
        menu.addAction(label)->setData(value);
    }
    QAction* chosen = menu.exec(m_header->mapToGlobal(headerPos));
    if (!chosen)
        return;
    guarded(this, [&] {
        postCurrent();
        if (chosen == all) {
            m_model->setFilter(field, QString(), false);
        } else if (chosen == custom) {
            bool ok = false;
            const QString text = QInputDialog::getText(
                this, tr("Filter"),
                tr("Show the questions whose %1 contains:").arg(QuestionsModel::fieldCaption(field).toLower()),
                QLineEdit::Normal, QString(), &ok);
            if (!ok)
                return;
            m_model->setFilter(field, text, false);
        } else {
            m_model->setFilter(field, chosen->data().toString(), true);
        }
    });
}

void QuestionsGrid::updateFilterBar() {
    const QString description = m_model->filterDescription();
    m_filterText->setText(tr("Filter: %1").arg(description));
    m_filterBar->setVisible(!description.isEmpty());
}

} // namespace korvell
