// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "ValuesGrid.h"

#include "BandedHeaderView.h"
#include "CellDelegate.h"
#include "ColorSwatchDelegate.h"
#include "CoordTableModel.h"
#include "Dialogs.h"
#include "RecordIndicatorHeader.h"
#include "ScoreSpinDelegate.h"
#include "model/CoordTable.h"

#include <QEvent>
#include <QKeyEvent>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <utility>

namespace korvell {

namespace {

enum class Editor { Text, Color, Score, Radius, Unlimited, None };

struct BandDef {
    const char* caption;
    int parent;
    int position;
    bool visible;
};

// In index order; the index is how the language code addresses a band.
constexpr std::array<BandDef, 17> kBands{{
    {"", -1, 0, true},
    {"MAP", -1, 1, true},
    {"Potencial Market", 1, 3, true},
    {"Value", 1, 2, true},
    {"Effort", 1, 1, true},
    {"Strategy", 1, 0, true},
    {"Results", -1, 2, false},
    {"VBI", -1, 3, true},
    {"Market Satisfaction Difficulty", 7, 0, true},
    {"Needed Capability", 7, 1, true},
    {"Innovation Model", 7, 2, false},
    {"EVA", -1, 4, true},
    {"Cost of Capital", 11, 0, true},
    {"EVA Matrix", 11, 1, false},
    {"BM", -1, 5, true},
    {"Market ", 14, 0, true},
    {"Organization", 14, 1, true},
}};

struct ColumnDef {
    const char* name;
    int field;
    const char* caption; // nullptr: the field's display label
    int band;
    int lines;
    double weight; // share of the grid width
    Editor editor;
    bool hidden;
};

constexpr int kRecId = CoordTableModel::RecIdField;

// Within a band, in their order. Weights: the design widths of the bands split over their columns,
// except the first band, where the product name gets the largest share.
constexpr std::array<ColumnDef, 31> kColumns{{
    {"vcoordsRecId", kRecId, "RecId", 0, 1, 0, Editor::None, true},
    {"vcoordsrowid", F_rowid, "rowid", 0, 1, 59, Editor::None, true},
    {"vcoordsColumn1", F_bcolor, "Color", 0, 2, 45, Editor::Color, false},
    {"vcoordsproduct", F_product, nullptr, 0, 2, 90, Editor::Text, false},
    {"vcoordsbubbleradius", F_bubbleradius, nullptr, 0, 2, 47, Editor::Radius, false},
    {"vcoordspm_x", F_pm_x, "X", 2, 2, 37, Editor::Score, false},
    {"vcoordspm_y", F_pm_y, "Y", 2, 2, 36, Editor::Score, false},
    {"vcoordsv_x", F_v_x, "X", 3, 2, 38, Editor::Score, false},
    {"vcoordsv_y", F_v_y, "Y", 3, 2, 34, Editor::Score, false},
    {"vcoordse_x", F_e_x, "X", 4, 2, 31, Editor::Score, false},
    {"vcoordse_y", F_e_y, "Y", 4, 2, 27, Editor::Score, false},
    {"vcoordss_x", F_s_x, "X", 5, 2, 49, Editor::Score, false},
    {"vcoordsres_pp_x", F_res_pp_x, "res_pp_x", 6, 1, 0, Editor::None, true},
    {"vcoordsres_pp_y", F_res_pp_y, "res_pp_y", 6, 1, 0, Editor::None, true},
    {"vcoordsres_pm_x", F_res_pm_x, "res_pm_x", 6, 1, 0, Editor::None, true},
    {"vcoordsres_pm_y", F_res_pm_y, "res_pm_y", 6, 1, 0, Editor::None, true},
    {"vcoordsres_s_y", F_res_s_y, "res_s_y", 6, 1, 0, Editor::None, true},
    {"vcoordsmsd_x", F_msd_x, "X", 8, 2, 44.5, Editor::Score, false},
    {"vcoordsmsd_y", F_msd_y, "Y", 8, 2, 44.5, Editor::Score, false},
    // The needed-capability matrix shows the effort scores: these edit e_x and e_y.
    {"vcoordsnc_x", F_e_x, "X", 9, 2, 44.5, Editor::Score, false},
    {"vcoordsnc_y", F_e_y, "Y", 9, 2, 44.5, Editor::Score, false},
    {"vcoordsres_im_x", F_res_im_x, "X", 10, 2, 0, Editor::None, true},
    {"vcoordsres_im_y", F_res_im_y, "Y", 10, 2, 0, Editor::None, true},
    {"vcoordscc_x", F_cc_x, "X", 12, 2, 44.5, Editor::Score, false},
    {"vcoordscc_y", F_cc_y, "Y", 12, 2, 44.5, Editor::Score, false},
    {"vcoordsres_eva_x", F_res_eva_x, "X", 13, 1, 0, Editor::None, true},
    {"vcoordsres_eva_y", F_res_eva_y, "Y", 13, 1, 0, Editor::None, true},
    {"vcoordsColumn_bm_pc_x", F_bm_pc_x, "X", 15, 2, 43.5, Editor::Unlimited, false},
    {"vcoordsColumn_bm_tc_y", F_bm_tc_y, "Y", 15, 2, 43.5, Editor::Unlimited, false},
    {"vcoordsColumn_bm_c_x", F_bm_c_x, "X", 16, 2, 34.5, Editor::Unlimited, false},
    {"vcoordsColumn_bm_oo_y", F_bm_oo_y, "Y", 16, 2, 34.5, Editor::Unlimited, false},
}};

// Bands in screen order: top-level bands by position, each followed by its children by position.
std::vector<int> bandsInScreenOrder() {
    std::vector<int> order;
    const auto appendChildren = [&order](int parent, const auto& self) -> void {
        std::vector<int> children;
        for (int b = 0; b < static_cast<int>(kBands.size()); ++b) {
            if (kBands[static_cast<std::size_t>(b)].parent == parent)
                children.push_back(b);
        }
        std::stable_sort(children.begin(), children.end(), [](int a, int b) {
            return kBands[static_cast<std::size_t>(a)].position < kBands[static_cast<std::size_t>(b)].position;
        });
        for (const int child : children) {
            order.push_back(child);
            self(child, self);
        }
    };
    appendChildren(-1, appendChildren);
    return order;
}

// Columns in screen order, as indexes into kColumns.
std::vector<std::size_t> columnsInScreenOrder() {
    std::vector<std::size_t> order;
    for (const int band : bandsInScreenOrder()) {
        for (std::size_t c = 0; c < kColumns.size(); ++c) {
            if (kColumns[c].band == band)
                order.push_back(c);
        }
    }
    return order;
}

bool bandChainVisible(int band) {
    for (int b = band; b >= 0; b = kBands[static_cast<std::size_t>(b)].parent) {
        if (!kBands[static_cast<std::size_t>(b)].visible)
            return false;
    }
    return true;
}

QFont gridFont() {
    QFont font(QStringLiteral("Tahoma"));
    // The design's 9 pixels are unreadable on today's screens; 11 keeps the compact look.
    font.setPixelSize(11);
    font.setBold(true);
    return font;
}

QPalette gridPalette(QPalette palette) {
    const QColor ink(0x4F, 0x5D, 0x93); // 9657679, a Windows BGR value
    for (const auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText, QPalette::HighlightedText})
        palette.setColor(role, ink);
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::AlternateBase, QColor(0xF3, 0xF6, 0xFC));
    palette.setColor(QPalette::Highlight, QColor(0xCC, 0xD9, 0xF4));
    palette.setColor(QPalette::Button, QColor(0xDD, 0xE5, 0xF5));
    palette.setColor(QPalette::Mid, QColor(0x9C, 0xAA, 0xCE));
    palette.setColor(QPalette::Dark, QColor(0x5A, 0x66, 0x8C));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0xA8, 0xB0, 0xC8));
    return palette;
}

} // namespace

ValuesGrid::ValuesGrid(CoordTable* table, QWidget* parent)
    : QWidget(parent)
    , m_table(table) {
    setObjectName(QStringLiteral("cxGrid1"));
    setFont(gridFont());
    setPalette(gridPalette(palette()));

    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("vcoords"));
    m_header = new BandedHeaderView(m_view);
    m_header->setObjectName(QStringLiteral("vcoordsBands"));
    m_view->setHorizontalHeader(m_header);
    m_indicator = new RecordIndicatorHeader(m_view);
    m_indicator->setObjectName(QStringLiteral("vcoordsIndicator"));
    m_view->setVerticalHeader(m_indicator);
    m_navigator = new NavigatorBar(this);
    m_navigator->setBackgroundRole(QPalette::Button);
    m_navigator->setAutoFillBackground(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_navigator);

    buildColumns();

    m_view->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                            QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    m_view->setTabKeyNavigation(true);
    m_view->setAlternatingRowColors(true);
    m_view->setWordWrap(false);
    m_view->setCornerButtonEnabled(false);
    // Columns always share the grid's width exactly, so there is nothing to scroll sideways.
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    m_header->setSectionsClickable(false);
    m_header->setSectionsMovable(false);
    m_header->setSectionResizeMode(QHeaderView::Fixed);
    m_header->setMinimumSectionSize(8);
    // Matrix names under the tab bands often need two lines.
    m_header->setBandLevelLines(1, 2);
    m_indicator->setSectionResizeMode(QHeaderView::Fixed);
    m_indicator->setMinimumSectionSize(8);
    m_indicator->setDefaultSectionSize(2 * m_view->fontMetrics().lineSpacing() + 6);

    m_view->installEventFilter(this);
    m_view->viewport()->installEventFilter(this);

    connect(m_navigator, &NavigatorBar::clicked, this, &ValuesGrid::navigate);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &ValuesGrid::currentRowChanged);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this, &ValuesGrid::updateNavigator);
    connect(m_model, &CoordTableModel::editFailed, this,
            [this](const QString& text) { Dialogs::reportError(this, text); });

    // The view follows the table's current record after every change of the rows, and ignores
    // the interim moves of its current cell while the rows change.
    const auto beginChange = [this] { m_syncing = true; };
    const auto endChange = [this] {
        m_syncing = false;
        followTable();
        updateNavigator();
    };
    connect(m_model, &QAbstractItemModel::rowsAboutToBeInserted, this, beginChange);
    connect(m_model, &QAbstractItemModel::rowsAboutToBeRemoved, this, beginChange);
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, beginChange);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, endChange);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, endChange);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this, endChange] {
        applyColumnLayout();
        endChange();
    });
    if (m_table) {
        connect(m_table, &CoordTable::stateChanged, this, [this](CoordTable::State state) {
            m_indicator->setMarker(state == CoordTable::State::Edit     ? RecordIndicatorHeader::Marker::Edit
                                   : state == CoordTable::State::Insert ? RecordIndicatorHeader::Marker::Insert
                                                                        : RecordIndicatorHeader::Marker::Browse);
            updateNavigator();
        });
    }
    followTable();
    updateNavigator();
}

ValuesGrid::~ValuesGrid() = default;

void ValuesGrid::buildColumns() {
    const std::vector<std::size_t> order = columnsInScreenOrder();
    std::vector<int> fields;
    for (const std::size_t c : order)
        fields.push_back(kColumns[c].field);
    m_model = new CoordTableModel(m_table, std::move(fields), this);
    m_view->setModel(m_model);

    std::vector<BandedHeaderView::Band> bands;
    for (const BandDef& band : kBands)
        bands.push_back({QString::fromLatin1(band.caption), band.parent, band.visible});
    m_header->setBands(std::move(bands));

    const QFontMetrics metrics(font());
    const int numberWidth = metrics.horizontalAdvance(QStringLiteral("10.0")) + 10;
    auto* text = new CellDelegate(CoordTable::fields()[F_product].size, this);
    auto* color = new ColorSwatchDelegate(this);
    auto* score = new ScoreSpinDelegate(ScoreSpinDelegate::scoreLimits(), this);
    auto* radius = new ScoreSpinDelegate(ScoreSpinDelegate::radiusLimits(), this);
    auto* unlimited = new ScoreSpinDelegate(ScoreSpinDelegate::unlimited(), this);
    auto* plain = new CellDelegate(0, this);
    m_view->setItemDelegate(plain);
    // The record goes into edit state at the first keystroke, as the navigator should show at once.
    for (CellDelegate* delegate : {static_cast<CellDelegate*>(text), plain, static_cast<CellDelegate*>(score),
                                   static_cast<CellDelegate*>(radius), static_cast<CellDelegate*>(unlimited)})
        connect(delegate, &CellDelegate::editorModified, m_model,
                [this](const QModelIndex& index) { m_model->beginEdit(index.row()); });

    for (int column = 0; column < static_cast<int>(order.size()); ++column) {
        const ColumnDef& def = kColumns[order[static_cast<std::size_t>(column)]];
        if (def.caption)
            m_model->setHeaderData(column, Qt::Horizontal, QString::fromLatin1(def.caption));
        m_header->setColumnBand(column, def.band);
        m_header->setColumnLines(column, def.lines);
        int minimumWidth = numberWidth;
        switch (def.editor) {
        case Editor::Text:
            m_view->setItemDelegateForColumn(column, text);
            minimumWidth = 2 * numberWidth;
            break;
        case Editor::Color:
            m_view->setItemDelegateForColumn(column, color);
            m_model->setColumnReadOnly(column, true);
            break;
        case Editor::Score:
            m_view->setItemDelegateForColumn(column, score);
            break;
        case Editor::Radius:
            m_view->setItemDelegateForColumn(column, radius);
            break;
        case Editor::Unlimited:
            m_view->setItemDelegateForColumn(column, unlimited);
            break;
        case Editor::None:
            m_model->setColumnReadOnly(column, true);
            break;
        }
        m_columns.push_back({QString::fromLatin1(def.name), def.band, def.weight, minimumWidth,
                             def.hidden || !bandChainVisible(def.band)});
    }
    applyColumnLayout();
}

void ValuesGrid::applyColumnLayout() {
    for (int column = 0; column < static_cast<int>(m_columns.size()); ++column)
        m_view->setColumnHidden(column, m_columns[static_cast<std::size_t>(column)].hidden);
    fitColumns();
}

void ValuesGrid::fitColumns() {
    std::vector<int> visible;
    for (int column = 0; column < static_cast<int>(m_columns.size()); ++column) {
        if (!m_view->isColumnHidden(column))
            visible.push_back(column);
    }
    if (visible.empty())
        return;
    // A column is at least as wide as its content. Where the grid has room, it is also as wide as
    // its caption's longest word, and the columns of a band together as wide as the band caption's
    // longest word; on a narrow grid captions are cut short instead (their tooltips tell them whole).
    const QFontMetrics metrics(m_header->font());
    const auto longestWord = [&metrics](const QString& text) {
        int widest = 0;
        for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            widest = std::max(widest, metrics.horizontalAdvance(word));
        return widest + 6;
    };
    const double available = m_view->viewport()->width();
    std::vector<int> minimum;
    std::vector<int> captionMinimum;
    for (const int column : visible) {
        const Column& c = m_columns[static_cast<std::size_t>(column)];
        const auto inBand = std::count_if(visible.begin(), visible.end(), [&](int other) {
            return m_columns[static_cast<std::size_t>(other)].band == c.band;
        });
        const int bandShare =
            (longestWord(bandCaption(c.band)) + static_cast<int>(inBand) - 1) / static_cast<int>(inBand);
        minimum.push_back(c.minimumWidth);
        captionMinimum.push_back(std::max({c.minimumWidth, bandShare, longestWord(columnCaption(c.name))}));
    }
    const int contentTotal = std::accumulate(minimum.begin(), minimum.end(), 0);
    if (std::accumulate(captionMinimum.begin(), captionMinimum.end(), 0) <= available) {
        minimum = std::move(captionMinimum);
    } else if (contentTotal > available) {
        // Too narrow even for the content: every column gives up the same share, so the grid
        // never scrolls sideways and the product band stays in view at the left edge.
        for (int& m : minimum)
            m = static_cast<int>(m * available / contentTotal);
    }
    const auto weight = [this, &visible](std::size_t i) {
        return m_columns[static_cast<std::size_t>(visible[i])].weight;
    };
    // Proportional widths, but no column narrower than its minimum: columns that would be are
    // pinned at their minimum and the rest share what is left, until nothing changes.
    std::vector<bool> pinned(visible.size(), false);
    double scale = 0;
    for (std::size_t pass = 0; pass <= visible.size(); ++pass) {
        double freeWeight = 0;
        double freeSpace = available;
        for (std::size_t i = 0; i < visible.size(); ++i) {
            if (pinned[i])
                freeSpace -= minimum[i];
            else
                freeWeight += weight(i);
        }
        scale = freeWeight > 0 ? std::max(0.0, freeSpace) / freeWeight : 0;
        bool changed = false;
        for (std::size_t i = 0; i < visible.size(); ++i) {
            if (!pinned[i] && weight(i) * scale < minimum[i]) {
                pinned[i] = true;
                changed = true;
            }
        }
        if (!changed)
            break;
    }
    int used = 0;
    for (std::size_t i = 0; i < visible.size(); ++i) {
        int width = pinned[i] ? minimum[i] : static_cast<int>(std::floor(weight(i) * scale));
        // The last column takes the rounding remainder so the rows end flush with the grid.
        if (i + 1 == visible.size())
            width = std::max(minimum[i], static_cast<int>(available) - used);
        m_header->resizeSection(visible[i], width);
        used += width;
    }
}

int ValuesGrid::columnIndex(const QString& name) const {
    for (std::size_t c = 0; c < m_columns.size(); ++c) {
        if (m_columns[c].name == name)
            return static_cast<int>(c);
    }
    return -1;
}

QString ValuesGrid::columnCaption(const QString& name) const {
    const int column = columnIndex(name);
    return column < 0 ? QString() : m_model->headerData(column, Qt::Horizontal).toString();
}

void ValuesGrid::setColumnCaption(const QString& name, const QString& text) {
    const int column = columnIndex(name);
    if (column >= 0) {
        m_model->setHeaderData(column, Qt::Horizontal, text);
        fitColumns();
    }
}

QString ValuesGrid::bandCaption(int index) const {
    return m_header->bandCaption(index);
}

void ValuesGrid::setBandCaption(int index, const QString& text) {
    m_header->setBandCaption(index, text);
    fitColumns();
}

int ValuesGrid::firstVisibleColumn() const {
    for (int visual = 0; visual < m_header->count(); ++visual) {
        const int column = m_header->logicalIndex(visual);
        if (!m_header->isSectionHidden(column))
            return column;
    }
    return -1;
}

QModelIndex ValuesGrid::nextCell(const QModelIndex& from) const {
    if (!from.isValid())
        return m_model->index(0, firstVisibleColumn());
    for (int visual = m_header->visualIndex(from.column()) + 1; visual < m_header->count(); ++visual) {
        const int column = m_header->logicalIndex(visual);
        if (!m_header->isSectionHidden(column))
            return m_model->index(from.row(), column);
    }
    if (from.row() + 1 < m_model->rowCount())
        return m_model->index(from.row() + 1, firstVisibleColumn());
    return from;
}

void ValuesGrid::followTable() {
    if (!m_table || !m_table->isOpen())
        return;
    const int row = m_table->currentIndex();
    if (row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex current = m_view->currentIndex();
    if (current.isValid() && current.row() == row)
        return;
    const int column =
        current.isValid() && !m_view->isColumnHidden(current.column()) ? current.column() : firstVisibleColumn();
    const bool was = std::exchange(m_syncing, true);
    m_view->setCurrentIndex(m_model->index(row, column));
    m_syncing = was;
    updateNavigator();
}

void ValuesGrid::currentRowChanged(const QModelIndex& current, const QModelIndex&) {
    if (m_syncing || !m_table || !m_table->isOpen())
        return;
    guarded(this, [&] {
        // Leaving a row posts its edit.
        if (m_table->state() != CoordTable::State::Browse)
            m_table->post();
        if (current.isValid() && current.row() < m_table->recordCount() && current.row() != m_table->currentIndex())
            m_table->moveTo(current.row());
    });
    updateNavigator();
}

void ValuesGrid::moveToRow(int row) {
    const int rows = m_model->rowCount();
    if (rows == 0)
        return;
    row = std::clamp(row, 0, rows - 1);
    const QModelIndex current = m_view->currentIndex();
    const int column = current.isValid() ? current.column() : firstVisibleColumn();
    // The view commits an open editor and the row change posts the edit.
    m_view->setCurrentIndex(m_model->index(row, column));
    m_view->scrollTo(m_view->currentIndex());
}

void ValuesGrid::commitEditor() {
    const QModelIndex index = m_view->currentIndex();
    if (QWidget* editor = index.isValid() ? m_view->indexWidget(index) : nullptr) {
        QAbstractItemDelegate* delegate = m_view->itemDelegateForIndex(index);
        delegate->setModelData(editor, m_model, index);
        m_view->closePersistentEditor(index);
    }
}

void ValuesGrid::closeEditor() {
    const QModelIndex index = m_view->currentIndex();
    if (index.isValid() && m_view->indexWidget(index))
        m_view->closePersistentEditor(index);
}

void ValuesGrid::insertRecord() {
    guarded(this, [this] {
        if (!m_table)
            return;
        commitEditor();
        m_table->insert();
        const int row = m_table->currentIndex();
        if (m_table->state() == CoordTable::State::Browse && row >= 0 && row < m_model->rowCount()) {
            const bool was = std::exchange(m_syncing, true);
            m_view->setCurrentIndex(m_model->index(row, firstVisibleColumn()));
            m_syncing = was;
            m_view->scrollTo(m_view->currentIndex());
        }
        m_view->setFocus();
    });
    updateNavigator();
}

void ValuesGrid::deleteRecord() {
    guarded(this, [this] {
        // Nothing to delete is no error: the key may be pressed on an empty grid.
        if (!m_table || !m_table->isOpen() ||
            (m_table->recordCount() == 0 && m_table->state() == CoordTable::State::Browse))
            return;
        closeEditor();
        const QModelIndex current = m_view->currentIndex();
        if (m_table->state() == CoordTable::State::Browse && current.isValid() &&
            current.row() != m_table->currentIndex() && current.row() < m_table->recordCount())
            m_table->moveTo(current.row());
        m_table->remove();
    });
    updateNavigator();
}

void ValuesGrid::postRecord() {
    guarded(this, [this] {
        if (!m_table)
            return;
        commitEditor();
        m_table->post();
    });
}

void ValuesGrid::cancelRecord() {
    guarded(this, [this] {
        if (!m_table)
            return;
        closeEditor();
        m_table->cancel();
    });
}

void ValuesGrid::editRecord() {
    guarded(this, [this] {
        const QModelIndex current = m_view->currentIndex();
        if (!m_table || !current.isValid())
            return;
        if (m_table->state() == CoordTable::State::Browse && current.row() != m_table->currentIndex())
            m_table->moveTo(current.row());
        m_table->edit();
        m_view->setFocus();
        if (current.flags() & Qt::ItemIsEditable)
            m_view->edit(current);
    });
}

void ValuesGrid::navigate(NavigatorBar::Button which) {
    const int row = m_view->currentIndex().row();
    switch (which) {
    case NavigatorBar::First:
        moveToRow(0);
        break;
    case NavigatorBar::Prior:
        moveToRow(row - 1);
        break;
    case NavigatorBar::Next:
        moveToRow(row + 1);
        break;
    case NavigatorBar::Last:
        moveToRow(m_model->rowCount() - 1);
        break;
    case NavigatorBar::Insert:
        insertRecord();
        break;
    case NavigatorBar::Delete:
        deleteRecord();
        break;
    case NavigatorBar::Edit:
        editRecord();
        break;
    case NavigatorBar::Post:
        postRecord();
        break;
    case NavigatorBar::Cancel:
        cancelRecord();
        break;
    case NavigatorBar::Refresh:
        commitEditor();
        m_model->refresh();
        break;
    case NavigatorBar::ButtonCount:
        break;
    }
}

void ValuesGrid::updateNavigator() {
    const bool open = m_table && m_table->isOpen();
    const int rows = open ? m_model->rowCount() : 0;
    const int row = m_view->currentIndex().row();
    const bool pending = open && m_table->state() != CoordTable::State::Browse;
    m_navigator->setButtonEnabled(NavigatorBar::First, rows > 0 && row != 0);
    m_navigator->setButtonEnabled(NavigatorBar::Prior, rows > 0 && row > 0);
    m_navigator->setButtonEnabled(NavigatorBar::Next, rows > 0 && row < rows - 1);
    m_navigator->setButtonEnabled(NavigatorBar::Last, rows > 0 && row != rows - 1);
    m_navigator->setButtonEnabled(NavigatorBar::Insert, open);
    m_navigator->setButtonEnabled(NavigatorBar::Delete, rows > 0);
    m_navigator->setButtonEnabled(NavigatorBar::Edit, rows > 0 && row >= 0 && !pending);
    m_navigator->setButtonEnabled(NavigatorBar::Post, pending);
    m_navigator->setButtonEnabled(NavigatorBar::Cancel, pending);
    m_navigator->setButtonEnabled(NavigatorBar::Refresh, open);
}

bool ValuesGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_view->viewport() && event->type() == QEvent::Resize) {
        fitColumns();
        return false;
    }
    if (watched != m_view || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    switch (key->key()) {
    case Qt::Key_Insert:
        if (modifiers != Qt::NoModifier)
            break;
        insertRecord();
        return true;
    case Qt::Key_Delete:
        if (modifiers != Qt::ControlModifier)
            break;
        deleteRecord();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (modifiers != Qt::NoModifier)
            break;
        m_view->setCurrentIndex(nextCell(m_view->currentIndex()));
        return true;
    case Qt::Key_Escape:
        if (!m_table || m_table->state() == CoordTable::State::Browse)
            break;
        cancelRecord();
        return true;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace korvell
