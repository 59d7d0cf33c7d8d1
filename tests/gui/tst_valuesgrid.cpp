// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "model/CoordRecordDefaults.h"
#include "model/CoordTable.h"
#include "ui/BandedHeaderView.h"
#include "ui/ColorSwatchDelegate.h"
#include "ui/CoordTableModel.h"
#include "ui/Dialogs.h"
#include "ui/NavigatorBar.h"
#include "ui/RecordIndicatorHeader.h"
#include "ui/ValuesGrid.h"

#include <QDoubleSpinBox>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace korvell;

namespace {

const QStringList kHiddenColumns{"vcoordsRecId",    "vcoordsrowid",     "vcoordsres_pp_x", "vcoordsres_pp_y",
                                 "vcoordsres_pm_x", "vcoordsres_pm_y",  "vcoordsres_s_y",  "vcoordsres_im_x",
                                 "vcoordsres_im_y", "vcoordsres_eva_x", "vcoordsres_eva_y"};

const QStringList kVisibleColumns{"vcoordsColumn1",
                                  "vcoordsproduct",
                                  "vcoordsbubbleradius",
                                  "vcoordss_x",
                                  "vcoordse_x",
                                  "vcoordse_y",
                                  "vcoordsv_x",
                                  "vcoordsv_y",
                                  "vcoordspm_x",
                                  "vcoordspm_y",
                                  "vcoordsmsd_x",
                                  "vcoordsmsd_y",
                                  "vcoordsnc_x",
                                  "vcoordsnc_y",
                                  "vcoordscc_x",
                                  "vcoordscc_y",
                                  "vcoordsColumn_bm_pc_x",
                                  "vcoordsColumn_bm_tc_y",
                                  "vcoordsColumn_bm_c_x",
                                  "vcoordsColumn_bm_oo_y"};

// Every column whose field is a score of a matrix the grid edits.
const QStringList kScoreColumns = kVisibleColumns.mid(3);

} // namespace

class TestValuesGrid : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void namesAndScreenOrderOfBands();
    void columnsShareTheGridWidth_data();
    void columnsShareTheGridWidth();
    void hiddenBandsNeverShow_data();
    void hiddenBandsNeverShow();
    void captionsForTheLanguageCode();
    void neededCapabilityEditsTheEffortFields();
    void spinEditorsKeepTheirLimits_data();
    void spinEditorsKeepTheirLimits();
    void insertedRowGetsDefaultsAndFocus_data();
    void insertedRowGetsDefaultsAndFocus();
    void deleteAsksNothing();
    void typingOverACellReplacesItsValue();
    void tabAndEnterMoveCellToCell_data();
    void tabAndEnterMoveCellToCell();
    void navigatorPostsAndCancels();
    void colourColumnIsAReadOnlySwatch();
    void outlivesItsTable();

private:
    QModelIndex cell(int row, const QString& column) const;
    QDoubleSpinBox* openSpin(int row, const QString& column);
    QToolButton* navButton(const char* name) const;

    std::unique_ptr<CoordTable> m_table;
    std::unique_ptr<ValuesGrid> m_grid;
};

void TestValuesGrid::init() {
    m_table = std::make_unique<CoordTable>();
    connect(m_table.get(), &CoordTable::newRecord, m_table.get(),
            [](CoordTable* table) { initCoordRecord(*table, QStringLiteral("Product")); });
    m_table->open();
    for (const QString& name : {QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Gamma")}) {
        m_table->append();
        m_table->edit();
        m_table->setString(QStringLiteral("product"), name);
        m_table->post();
    }
    m_table->first();
    m_grid = std::make_unique<ValuesGrid>(m_table.get());
    m_grid->resize(900, 320);
    m_grid->show();
    m_grid->activateWindow();
    QVERIFY(QTest::qWaitForWindowExposed(m_grid.get()));
}

void TestValuesGrid::cleanup() {
    Dialogs::setAnswerer({});
    m_grid.reset();
    m_table.reset();
}

QModelIndex TestValuesGrid::cell(int row, const QString& column) const {
    const int c = m_grid->columnIndex(column);
    return c < 0 ? QModelIndex() : m_grid->model()->index(row, c);
}

QDoubleSpinBox* TestValuesGrid::openSpin(int row, const QString& column) {
    QTableView* view = m_grid->view();
    const QModelIndex index = cell(row, column);
    view->setCurrentIndex(index);
    view->edit(index);
    auto* spin = qobject_cast<QDoubleSpinBox*>(view->indexWidget(index));
    if (spin)
        spin->selectAll();
    return spin;
}

QToolButton* TestValuesGrid::navButton(const char* name) const {
    return m_grid->findChild<QToolButton*>(QLatin1String(name));
}

void TestValuesGrid::namesAndScreenOrderOfBands() {
    QCOMPARE(m_grid->objectName(), QStringLiteral("cxGrid1"));
    QCOMPARE(m_grid->findChild<QTableView*>(QStringLiteral("vcoords")), m_grid->view());
    const BandedHeaderView* header = m_grid->bandedHeader();
    QCOMPARE(header->bandCount(), 17);

    // Top level: the product band at the left edge, then MAP, VBI, EVA, BM.
    const QList<int> topLevel{0, 1, 7, 11, 14};
    QCOMPARE(header->bandRect(0).left(), 0);
    for (int i = 1; i < topLevel.size(); ++i)
        QCOMPARE(header->bandRect(topLevel[i]).left(), header->bandRect(topLevel[i - 1]).right() + 1);

    // Under MAP: strategy, effort, value, potential market.
    const QList<int> map{5, 4, 3, 2};
    QCOMPARE(header->bandRect(5).left(), header->bandRect(1).left());
    for (int i = 1; i < map.size(); ++i)
        QCOMPARE(header->bandRect(map[i]).left(), header->bandRect(map[i - 1]).right() + 1);
    QCOMPARE(header->bandRect(2).right(), header->bandRect(1).right());
    QVERIFY(header->bandRect(5).top() > header->bandRect(1).top());

    // Each visible column under its band, left to right in the order listed.
    int previous = -1;
    for (const QString& name : kVisibleColumns) {
        const int column = m_grid->columnIndex(name);
        QVERIFY2(column >= 0, qPrintable(name));
        const int x = header->sectionViewportPosition(column);
        QVERIFY2(x > previous, qPrintable(name));
        QVERIFY2(header->bandRect(header->columnBand(column))
                     .contains(x + 1, header->bandRect(header->columnBand(column)).top()),
                 qPrintable(name));
        previous = x;
    }
    QCOMPARE(header->columnBand(m_grid->columnIndex("vcoordsnc_x")), 9);
    QCOMPARE(header->columnBand(m_grid->columnIndex("vcoordsColumn_bm_tc_y")), 15);
}

void TestValuesGrid::columnsShareTheGridWidth_data() {
    QTest::addColumn<int>("width");
    QTest::newRow("narrow") << 420;
    QTest::newRow("map window") << 800;
    QTest::newRow("wide") << 1400;
}

void TestValuesGrid::columnsShareTheGridWidth() {
    QFETCH(int, width);
    m_grid->resize(width, 320);
    QTest::qWait(0);
    const BandedHeaderView* header = m_grid->bandedHeader();
    int total = 0;
    for (const QString& name : kVisibleColumns) {
        const int size = header->sectionSize(m_grid->columnIndex(name));
        QVERIFY2(size > 0, qPrintable(name));
        total += size;
    }
    QCOMPARE(total, m_grid->view()->viewport()->width());
    QCOMPARE(header->offset(), 0);
    // Numbers stay readable wherever the width allows it.
    const int score = header->sectionSize(m_grid->columnIndex("vcoordse_y"));
    const int number = m_grid->view()->fontMetrics().horizontalAdvance(QStringLiteral("10.0"));
    if (width >= 800)
        QVERIFY(score > number);
    // The product column gets the largest share of the grid.
    if (width >= 1400)
        QVERIFY(header->sectionSize(m_grid->columnIndex("vcoordsproduct")) >
                header->sectionSize(m_grid->columnIndex("vcoordsbubbleradius")));
}

void TestValuesGrid::hiddenBandsNeverShow_data() {
    QTest::addColumn<QString>("action");
    QTest::newRow("as built") << "none";
    QTest::newRow("navigator refresh") << "refresh";
    QTest::newRow("table reloaded with controls disabled") << "disabled";
    QTest::newRow("table closed and reopened") << "reopen";
    QTest::newRow("captions replaced") << "captions";
}

void TestValuesGrid::hiddenBandsNeverShow() {
    QFETCH(QString, action);
    if (action == "refresh") {
        navButton("navRefresh")->click();
    } else if (action == "disabled") {
        m_table->disableControls();
        m_table->close();
        m_table->open();
        m_table->append();
        m_table->enableControls();
    } else if (action == "reopen") {
        m_table->close();
        m_table->open();
        m_table->append();
    } else if (action == "captions") {
        for (int band = 0; band < m_grid->bandedHeader()->bandCount(); ++band)
            m_grid->setBandCaption(band, QStringLiteral("B%1").arg(band));
    }
    QTest::qWait(0);
    for (const int band : {6, 10, 13})
        QVERIFY2(!m_grid->bandedHeader()->isBandShown(band), qPrintable(QString::number(band)));
    for (const int band : {0, 1, 2, 3, 4, 5, 7, 8, 9, 11, 12, 14, 15, 16})
        QVERIFY2(m_grid->bandedHeader()->isBandShown(band), qPrintable(QString::number(band)));
    for (const QString& name : kHiddenColumns)
        QVERIFY2(m_grid->view()->isColumnHidden(m_grid->columnIndex(name)), qPrintable(name));
    for (const QString& name : kVisibleColumns)
        QVERIFY2(!m_grid->view()->isColumnHidden(m_grid->columnIndex(name)), qPrintable(name));
}

void TestValuesGrid::captionsForTheLanguageCode() {
    QCOMPARE(m_grid->columnCaption("vcoordsproduct"), QStringLiteral("Product"));
    QCOMPARE(m_grid->columnCaption("vcoordsbubbleradius"), QStringLiteral("Bubble Radius"));
    QCOMPARE(m_grid->columnCaption("vcoordsColumn1"), QStringLiteral("Color"));
    QCOMPARE(m_grid->columnCaption("vcoordsmsd_x"), QStringLiteral("X"));
    QCOMPARE(m_grid->columnCaption("vcoordsnc_y"), QStringLiteral("Y"));
    QCOMPARE(m_grid->bandCaption(1), QStringLiteral("MAP"));
    QCOMPARE(m_grid->bandCaption(15), QStringLiteral("Market "));

    m_grid->setColumnCaption("vcoordsproduct", QStringLiteral("Produto"));
    m_grid->setBandCaption(9, QStringLiteral("Capacidade Necessária"));
    QCOMPARE(m_grid->columnCaption("vcoordsproduct"), QStringLiteral("Produto"));
    QCOMPARE(m_grid->view()->model()->headerData(m_grid->columnIndex("vcoordsproduct"), Qt::Horizontal).toString(),
             QStringLiteral("Produto"));
    QCOMPARE(m_grid->bandCaption(9), QStringLiteral("Capacidade Necessária"));
    QCOMPARE(m_grid->columnCaption("vcoordsnothing"), QString());

    // What the header shows under a point, which its tooltip gives whole when a caption is cut short.
    const BandedHeaderView* header = m_grid->bandedHeader();
    QCOMPARE(header->textAt(header->bandRect(8).center()), QStringLiteral("Market Satisfaction Difficulty"));
    QCOMPARE(header->textAt(header->bandRect(9).center()), QStringLiteral("Capacidade Necessária"));
    const int product = m_grid->columnIndex("vcoordsproduct");
    QCOMPARE(header->textAt(QPoint(header->sectionViewportPosition(product) + 2, header->bandAreaHeight() + 2)),
             QStringLiteral("Produto"));
}

void TestValuesGrid::neededCapabilityEditsTheEffortFields() {
    QDoubleSpinBox* spin = openSpin(1, "vcoordsnc_x");
    QVERIFY(spin);
    QTest::keyClicks(spin, "7.3");
    QTest::keyClick(spin, Qt::Key_Enter);
    QCOMPARE(cell(1, "vcoordse_x").data().toDouble(), 7.3);
    QCOMPARE(m_table->state(), CoordTable::State::Edit);
    QCOMPARE(m_grid->findChild<RecordIndicatorHeader*>()->marker(), RecordIndicatorHeader::Marker::Edit);
    QCOMPARE(m_table->number(1, F_e_x), 5.0);

    // The reverse: the effort band writes what the needed-capability band shows.
    spin = openSpin(1, "vcoordse_y");
    QVERIFY(spin);
    QTest::keyClicks(spin, "2.5");
    QTest::keyClick(spin, Qt::Key_Tab);
    QCOMPARE(cell(1, "vcoordsnc_y").data().toDouble(), 2.5);

    // Leaving the row posts the edit.
    QTest::keyClick(m_grid->view(), Qt::Key_Down);
    QCOMPARE(m_grid->view()->currentIndex().row(), 2);
    QCOMPARE(m_table->state(), CoordTable::State::Browse);
    QCOMPARE(m_table->number(1, F_e_x), 7.3);
    QCOMPARE(m_table->number(1, F_e_y), 2.5);
    QCOMPARE(m_table->number(1, F_nc_x), 5.0);
    QCOMPARE(m_table->currentIndex(), 2);
    QCOMPARE(m_grid->findChild<RecordIndicatorHeader*>()->marker(), RecordIndicatorHeader::Marker::Browse);
    QCOMPARE(m_grid->findChild<RecordIndicatorHeader*>()->markedRow(), 2);
}

void TestValuesGrid::spinEditorsKeepTheirLimits_data() {
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("field");
    QTest::addColumn<double>("stored");
    QTest::addColumn<double>("step");
    QTest::newRow("score above 10") << "vcoordspm_x"
                                    << "12" << int(F_pm_x) << 10.0 << 0.1;
    QTest::newRow("score in range") << "vcoordsv_y"
                                    << "3.7" << int(F_v_y) << 3.7 << 0.1;
    QTest::newRow("msd above 10") << "vcoordsmsd_y"
                                  << "55" << int(F_msd_y) << 10.0 << 0.1;
    QTest::newRow("cost of capital above 10") << "vcoordscc_x"
                                              << "10.5" << int(F_cc_x) << 10.0 << 0.1;
    QTest::newRow("radius above 3") << "vcoordsbubbleradius"
                                    << "4" << int(F_bubbleradius) << 3.0 << 0.1;
    QTest::newRow("radius in range") << "vcoordsbubbleradius"
                                     << "2.5" << int(F_bubbleradius) << 2.5 << 0.1;
    QTest::newRow("business model above 10") << "vcoordsColumn_bm_pc_x"
                                             << "12" << int(F_bm_pc_x) << 12.0 << 1.0;
    QTest::newRow("business model negative") << "vcoordsColumn_bm_oo_y"
                                             << "-4" << int(F_bm_oo_y) << -4.0 << 1.0;
}

void TestValuesGrid::spinEditorsKeepTheirLimits() {
    QFETCH(QString, column);
    QFETCH(QString, typed);
    QFETCH(int, field);
    QFETCH(double, stored);
    QFETCH(double, step);
    QDoubleSpinBox* spin = openSpin(0, column);
    QVERIFY(spin);
    QCOMPARE(spin->singleStep(), step);
    QCOMPARE(spin->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    QTest::keyClicks(spin, typed);
    QTest::keyClick(spin, Qt::Key_Return);
    QCOMPARE(cell(0, column).data().toDouble(), stored);
    m_grid->postRecord();
    QCOMPARE(m_table->number(0, field), stored);
}

void TestValuesGrid::insertedRowGetsDefaultsAndFocus_data() {
    QTest::addColumn<bool>("byKey");
    QTest::newRow("Insert key") << true;
    QTest::newRow("navigator") << false;
}

void TestValuesGrid::insertedRowGetsDefaultsAndFocus() {
    QFETCH(bool, byKey);
    QTableView* view = m_grid->view();
    view->setCurrentIndex(cell(1, "vcoordspm_y"));
    if (byKey)
        QTest::keyClick(view, Qt::Key_Insert);
    else
        navButton("navInsert")->click();

    QCOMPARE(m_table->recordCount(), 4);
    QCOMPARE(m_grid->model()->rowCount(), 4);
    QCOMPARE(m_table->state(), CoordTable::State::Browse);
    QCOMPARE(cell(1, "vcoordsproduct").data().toString(), QStringLiteral("<PRODUCT>"));
    QCOMPARE(cell(2, "vcoordsproduct").data().toString(), QStringLiteral("Beta"));
    QCOMPARE(cell(1, "vcoordsbubbleradius").data().toDouble(), 0.4);
    for (const QString& name : kScoreColumns)
        QVERIFY2(cell(1, name).data().toDouble() == 5.0, qPrintable(name));
    QCOMPARE(view->currentIndex(), cell(1, "vcoordsColumn1"));
    QCOMPARE(m_table->currentIndex(), 1);
    QTRY_VERIFY(view->hasFocus());
}

void TestValuesGrid::deleteAsksNothing() {
    int asked = 0;
    Dialogs::setAnswerer([&asked](const Dialogs::Message&) {
        ++asked;
        return Dialogs::Answer::No;
    });
    m_grid->view()->setCurrentIndex(cell(1, "vcoordsproduct"));
    navButton("navDelete")->click();
    QCOMPARE(asked, 0);
    QCOMPARE(m_table->recordCount(), 2);
    QCOMPARE(cell(1, "vcoordsproduct").data().toString(), QStringLiteral("Gamma"));
    QCOMPARE(m_grid->view()->currentIndex().row(), m_table->currentIndex());

    QTest::keyClick(m_grid->view(), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(asked, 0);
    QCOMPARE(m_table->recordCount(), 1);
    QCOMPARE(cell(0, "vcoordsproduct").data().toString(), QStringLiteral("Alpha"));

    // Down to an empty grid, and once more on it: nothing happens, nothing is reported.
    navButton("navDelete")->click();
    QCOMPARE(m_table->recordCount(), 0);
    QVERIFY(!navButton("navDelete")->isEnabled());
    QTest::keyClick(m_grid->view(), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(asked, 0);
    QTest::keyClick(m_grid->view(), Qt::Key_Insert);
    QCOMPARE(m_table->recordCount(), 1);
    QCOMPARE(m_grid->view()->currentIndex(), cell(0, "vcoordsColumn1"));
}

void TestValuesGrid::typingOverACellReplacesItsValue() {
    QTableView* view = m_grid->view();
    view->setCurrentIndex(cell(0, "vcoordspm_y"));
    view->setFocus();
    QTest::keyClick(view, Qt::Key_1);
    auto* spin = qobject_cast<QDoubleSpinBox*>(view->indexWidget(cell(0, "vcoordspm_y")));
    QVERIFY(spin);
    QCOMPARE(m_table->state(), CoordTable::State::Edit);
    QTest::keyClicks(spin, "2");
    QTest::keyClick(spin, Qt::Key_Return);
    QCOMPARE(cell(0, "vcoordspm_y").data().toDouble(), 10.0);
    QCOMPARE(view->currentIndex(), cell(0, "vcoordsmsd_x"));

    // Escape in the editor drops what was typed; a second Escape cancels the record's edit.
    QTest::keyClick(view, Qt::Key_3);
    spin = qobject_cast<QDoubleSpinBox*>(view->indexWidget(cell(0, "vcoordsmsd_x")));
    QVERIFY(spin);
    QTest::keyClick(spin, Qt::Key_Escape);
    QTRY_VERIFY(view->indexWidget(cell(0, "vcoordsmsd_x")) == nullptr);
    QCOMPARE(cell(0, "vcoordsmsd_x").data().toDouble(), 5.0);
    QTest::keyClick(view, Qt::Key_Escape);
    QCOMPARE(m_table->state(), CoordTable::State::Browse);
    QCOMPARE(cell(0, "vcoordspm_y").data().toDouble(), 5.0);
}

void TestValuesGrid::tabAndEnterMoveCellToCell_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("toRow");
    QTest::addColumn<QString>("to");
    for (const int key : {int(Qt::Key_Tab), int(Qt::Key_Return)}) {
        const char* k = key == Qt::Key_Tab ? "Tab" : "Enter";
        QTest::addRow("%s within a band", k) << key << 0 << "vcoordsproduct" << 0 << "vcoordsbubbleradius";
        QTest::addRow("%s across bands", k) << key << 1 << "vcoordspm_y" << 1 << "vcoordsmsd_x";
        QTest::addRow("%s over hidden columns", k) << key << 0 << "vcoordsnc_y" << 0 << "vcoordscc_x";
        QTest::addRow("%s to the next row", k) << key << 0 << "vcoordsColumn_bm_oo_y" << 1 << "vcoordsColumn1";
    }
}

void TestValuesGrid::tabAndEnterMoveCellToCell() {
    QFETCH(int, key);
    QFETCH(int, row);
    QFETCH(QString, from);
    QFETCH(int, toRow);
    QFETCH(QString, to);
    QTableView* view = m_grid->view();
    view->setCurrentIndex(cell(row, from));
    QTest::keyClick(view, Qt::Key(key));
    QCOMPARE(view->currentIndex(), cell(toRow, to));

    // With an editor open the key commits it and opens the next cell's editor.
    view->setCurrentIndex(cell(row, from));
    view->edit(view->currentIndex());
    QWidget* editor = view->indexWidget(cell(row, from));
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key(key));
    QCOMPARE(view->currentIndex(), cell(toRow, to));
    QTRY_VERIFY(view->indexWidget(cell(toRow, to)) != nullptr || !(cell(toRow, to).flags() & Qt::ItemIsEditable));
}

void TestValuesGrid::navigatorPostsAndCancels() {
    QVERIFY(!navButton("navPost")->isEnabled());
    QDoubleSpinBox* spin = openSpin(2, "vcoordss_x");
    QVERIFY(spin);
    QTest::keyClicks(spin, "8");
    // Post with the editor still open: what was typed is committed first.
    navButton("navPost")->click();
    QCOMPARE(m_table->state(), CoordTable::State::Browse);
    QCOMPARE(m_table->number(2, F_s_x), 8.0);

    spin = openSpin(2, "vcoordss_x");
    QTest::keyClicks(spin, "1");
    QTest::keyClick(spin, Qt::Key_Enter);
    QVERIFY(navButton("navCancel")->isEnabled());
    navButton("navCancel")->click();
    QCOMPARE(m_table->state(), CoordTable::State::Browse);
    QCOMPARE(cell(2, "vcoordss_x").data().toDouble(), 8.0);

    spin = openSpin(2, "vcoordss_x");
    QTest::keyClicks(spin, "2");
    QTest::keyClick(spin, Qt::Key_Enter);
    QTest::keyClick(m_grid->view(), Qt::Key_Escape);
    QCOMPARE(m_table->state(), CoordTable::State::Browse);
    QCOMPARE(m_table->number(2, F_s_x), 8.0);

    m_grid->view()->setCurrentIndex(cell(2, "vcoordsproduct"));
    navButton("navFirst")->click();
    QCOMPARE(m_grid->view()->currentIndex(), cell(0, "vcoordsproduct"));
    QCOMPARE(m_table->currentIndex(), 0);
    QVERIFY(!navButton("navPrior")->isEnabled());
    navButton("navLast")->click();
    QCOMPARE(m_table->currentIndex(), 2);
    QVERIFY(!navButton("navNext")->isEnabled());
    navButton("navPrior")->click();
    QCOMPARE(m_table->currentIndex(), 1);
}

void TestValuesGrid::colourColumnIsAReadOnlySwatch() {
    m_table->moveTo(0);
    m_table->edit();
    m_table->setValue(F_bcolor, 0x0000FF); // Windows BGR: pure red
    m_table->post();
    QCOMPARE(ColorSwatchDelegate::colorOf(0x00FF8040), QColor(0x40, 0x80, 0xFF));
    QVERIFY(!ColorSwatchDelegate::colorOf(QVariant()).isValid());

    const QModelIndex swatch = cell(0, "vcoordsColumn1");
    QVERIFY(!(swatch.flags() & Qt::ItemIsEditable));
    QTableView* view = m_grid->view();
    view->setCurrentIndex(swatch);
    view->edit(swatch);
    QVERIFY(view->indexWidget(swatch) == nullptr);
    QTest::keyClicks(view, "1");
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(swatch).center());
    QVERIFY(view->indexWidget(swatch) == nullptr);
    QCOMPARE(m_table->state(), CoordTable::State::Browse);

    view->setCurrentIndex(cell(2, "vcoordsproduct"));
    const QImage shot = m_grid->grab().toImage();
    const QPoint offset = view->viewport()->mapTo(m_grid.get(), QPoint(0, 0));
    const QPoint red = view->visualRect(swatch).center() + offset;
    const QPoint empty = view->visualRect(cell(1, "vcoordsColumn1")).center() + offset;
    QCOMPARE(shot.pixelColor(red), QColor(Qt::red));
    QVERIFY(shot.pixelColor(empty) != QColor(Qt::red));
    const QString dir = qEnvironmentVariable("KORVELL_SCREENSHOT_DIR");
    if (!dir.isEmpty())
        QVERIFY(shot.save(dir + QStringLiteral("/valuesgrid.png")));
}

void TestValuesGrid::outlivesItsTable() {
    m_grid->view()->setCurrentIndex(cell(1, "vcoordsproduct"));
    m_table.reset();
    QCOMPARE(m_grid->model()->rowCount(), 0);
    QVERIFY(!navButton("navInsert")->isEnabled());
    QTest::keyClick(m_grid->view(), Qt::Key_Insert);
    QTest::keyClick(m_grid->view(), Qt::Key_Delete, Qt::ControlModifier);
    navButton("navRefresh")->click();
    QCOMPARE(m_grid->model()->rowCount(), 0);
}

QTEST_MAIN(TestValuesGrid)
#include "tst_valuesgrid.moc"
