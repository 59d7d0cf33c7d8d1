// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "model/CoordTable.h"
#include "model/MapModel.h"
#include "model/Scores.h"

#include <QSignalSpy>
#include <QTest>

#include <bit>
#include <cmath>
#include <limits>
#include <map>

using namespace korvell;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

/// n tenths as the map stores them: n times the double nearest 0.1, in extended precision.
double tenths(int n) {
    return static_cast<double>(n * static_cast<long double>(0.1));
}

QByteArray exact(double value) {
    return QByteArray::number(value, 'g', 17);
}

#define COMPARE_EXACT(actual, expected) QCOMPARE(exact(actual), exact(expected))

const std::vector<int>& scoreFields() {
    static const std::vector<int> fields = [] {
        std::vector<int> result;
        for (int f = F_pm_x; f < FieldCount; ++f) {
            if (f != F_bcolor)
                result.push_back(f);
        }
        return result;
    }();
    return fields;
}

/// A record with every score `fill` except the given ones.
void appendRecord(CoordTable& table, const std::map<int, double>& values, double fill = 5.0) {
    table.append();
    table.setValue(F_rowid, QStringLiteral("{row-%1}").arg(table.recordCount()));
    table.setValue(F_product, QStringLiteral("P%1").arg(table.recordCount()));
    table.setValue(F_bubbleradius, 0.4);
    for (int f : scoreFields())
        table.setValue(f, fill);
    for (const auto& [field, value] : values)
        table.setValue(field, std::isnan(value) ? QVariant() : QVariant(value));
    table.post();
}

void setStored(CoordTable& table, int row, int field, const QVariant& value) {
    table.moveTo(row);
    table.edit();
    table.setValue(field, value);
    table.post();
}

// Potential market (4, 9), value (6, 7), effort (3, 5), market share 2, MSD (8, 2), cost of capital (1, 9).
const std::map<int, double> kWorkedExample{
    {F_pm_x, 4}, {F_pm_y, 9},  {F_v_x, 6},   {F_v_y, 7},  {F_e_x, 3},  {F_e_y, 5},
    {F_s_x, 2},  {F_msd_x, 8}, {F_msd_y, 2}, {F_cc_x, 1}, {F_cc_y, 9},
};

struct Map {
    CoordTable table;
    MapModel model{&table};
    Map() { table.open(); }
    BubbleSeries& s(int index) { return *model.series(index); }
};

} // namespace

class TestMapModel : public QObject {
    Q_OBJECT
private slots:
    void findsSeriesByName();
    void fullRecomputationOfTheWorkedExample();
    void perceivedValue_data();
    void perceivedValue();
    void allCompetitorsLeaveNoPotentialMarket();
    void dispatchesOnTheExactChartName_data();
    void dispatchesOnTheExactChartName();
    void moveOnPotentialMarketLeavesEvaStale();
    void clampsWhatItReads_data();
    void clampsWhatItReads();
    void centreIsAFixedPoint();
    void writeBackStoresTheFieldMap();
    void writeBackOnClosedOrEmptyTable();
    void writeBackPostsAPendingEditFirst();
    void effortAndNeededCapabilityCopy();
    void passesAnnounceOncePerSeries();
    void readersNeverSeeStalePoints();
    void reloadAllDropsTheWorkingCopy();
    void paletteAndWindowsColour();
};

void TestMapModel::findsSeriesByName() {
    Map map;
    QCOMPARE(map.model.series(u"SMercadoPotencial"), map.model.series(MxPotentialMarket));
    QCOMPARE(map.model.series(u"S_BM_MARKET"), map.model.series(MxBmMarket));
    QCOMPARE(map.model.series(u"smercadopotencial"), nullptr);
    QCOMPARE(map.model.seriesOfChart(u"ChartNC"), map.model.series(MxNeededCapability));
    QCOMPARE(map.model.seriesOfChart(u"DBChart3"), nullptr);
    QCOMPARE(map.model.seriesOfChart(u"ChartNC")->xField(), int(F_e_x));
}

void TestMapModel::fullRecomputationOfTheWorkedExample() {
    Map map;
    appendRecord(map.table, kWorkedExample);
    map.model.RecalculateFrom(QStringLiteral("ALL"));

    COMPARE_EXACT(map.s(MxProductMargin).x(0), tenths(39));
    COMPARE_EXACT(map.s(MxProductMargin).y(0), tenths(65));
    COMPARE_EXACT(map.s(MxInnovation).x(0), tenths(39));
    COMPARE_EXACT(map.s(MxInnovation).y(0), tenths(40));
    for (int pp : {MxPotentialProfit, MxEvaProfit}) {
        COMPARE_EXACT(map.s(pp).x(0), tenths(63));
        COMPARE_EXACT(map.s(pp).y(0), tenths(73));
    }
    COMPARE_EXACT(map.s(MxStrategy).x(0), 2.0);
    COMPARE_EXACT(map.s(MxStrategy).y(0), tenths(68));
    COMPARE_EXACT(map.s(MxEva).x(0), tenths(30));
    COMPARE_EXACT(map.s(MxEva).y(0), tenths(68));
}

void TestMapModel::perceivedValue_data() {
    QTest::addColumn<double>("price");
    QTest::addColumn<double>("functionality");
    QTest::addColumn<int>("expectedTenths");
    QTest::newRow("price 8, functionality 2") << 8.0 << 2.0 << 40;
    QTest::newRow("price 2, functionality 8") << 2.0 << 8.0 << 60;
    QTest::newRow("equal") << 3.0 << 3.0 << 30;
    QTest::newRow("equal, high") << 7.0 << 7.0 << 70;
}

void TestMapModel::perceivedValue() {
    QFETCH(double, price);
    QFETCH(double, functionality);
    QFETCH(int, expectedTenths);
    Map map;
    appendRecord(map.table, {{F_v_x, price}, {F_v_y, functionality}});
    map.model.DeriveProduct(0);
    COMPARE_EXACT(map.s(MxProductMargin).y(0), tenths(expectedTenths));
}

void TestMapModel::allCompetitorsLeaveNoPotentialMarket() {
    Map map;
    appendRecord(map.table, {{F_pm_x, 10}, {F_pm_y, 9.5}});
    map.model.RecalculateFrom(QStringLiteral("Chart1"));
    COMPARE_EXACT(map.s(MxPotentialProfit).y(0), 0.0);
    COMPARE_EXACT(map.s(MxStrategy).y(0), 0.0);
}

void TestMapModel::dispatchesOnTheExactChartName_data() {
    QTest::addColumn<QString>("chart");
    QTest::addColumn<QList<int>>("recomputed");
    const QList<int> mapTab{MxPotentialProfit, MxEvaProfit, MxStrategy};
    const QList<int> withMargin{MxProductMargin, MxPotentialProfit, MxEvaProfit, MxStrategy};
    const QList<int> all{MxProductMargin, MxInnovation, MxPotentialProfit, MxEvaProfit, MxStrategy, MxEva};
    QTest::newRow("Chart1") << "Chart1" << mapTab;
    QTest::newRow("ChartValor") << "ChartValor" << withMargin;
    QTest::newRow("Chart6") << "Chart6" << withMargin;
    QTest::newRow("chart1 (case differs)") << "chart1" << all;
    QTest::newRow("CHART6 (case differs)") << "CHART6" << all;
    QTest::newRow("empty") << "" << all;
    QTest::newRow("ALL") << "ALL" << all;
    QTest::newRow("ChartCC") << "ChartCC" << all;
    QTest::newRow("Chart5") << "Chart5" << all;
}

void TestMapModel::dispatchesOnTheExactChartName() {
    QFETCH(QString, chart);
    QFETCH(QList<int>, recomputed);
    Map map;
    // Every derived field starts at 1.0, which no derivation of the worked example yields.
    std::map<int, double> record = kWorkedExample;
    for (int f :
         {F_res_pp_x, F_res_pp_y, F_res_pm_x, F_res_pm_y, F_res_s_y, F_res_im_x, F_res_im_y, F_res_eva_x, F_res_eva_y})
        record[f] = 1.0;
    appendRecord(map.table, record);

    map.model.RecalculateFrom(chart);
    for (int m : {MxProductMargin, MxInnovation, MxPotentialProfit, MxEvaProfit, MxStrategy, MxEva}) {
        const bool changed = map.s(m).y(0) != 1.0;
        QVERIFY2(changed == recomputed.contains(m), matrixCatalogue()[static_cast<std::size_t>(m)].seriesName);
    }
    COMPARE_EXACT(map.s(MxStrategy).x(0), 2.0);
}

void TestMapModel::moveOnPotentialMarketLeavesEvaStale() {
    Map map;
    appendRecord(map.table, kWorkedExample);
    map.model.RecalculateFrom(QString());
    const double evaY = map.s(MxEva).y(0);

    MapModel::SetScoreX(map.s(MxPotentialMarket), 0, 1.0);
    map.model.RecalculateFrom(QStringLiteral("Chart1"));
    COMPARE_EXACT(map.s(MxEvaProfit).y(0), tenths(90)); // sqrt(9 * 9)
    COMPARE_EXACT(map.s(MxEva).y(0), evaY);

    map.model.RecalculateFrom(QStringLiteral("ChartCC"));
    COMPARE_EXACT(map.s(MxEva).y(0), tenths(75)); // sqrt(9.0 * 6.3)
}

void TestMapModel::clampsWhatItReads_data() {
    QTest::addColumn<double>("stored");
    QTest::addColumn<double>("clamped");
    QTest::newRow("dragged past ten") << 11.3 << 10.0;
    QTest::newRow("dragged below zero") << -2.0 << 0.0;
    QTest::newRow("empty field") << kNaN << 0.0;
    QTest::newRow("inside, unrounded") << 4.56 << 4.56;
}

void TestMapModel::clampsWhatItReads() {
    QFETCH(double, stored);
    QFETCH(double, clamped);
    Map map;
    appendRecord(map.table, {{F_pm_x, stored}, {F_pm_y, 9.0}});
    BubbleSeries& market = map.s(MxPotentialMarket);
    QCOMPARE(std::isnan(market.x(0)), std::isnan(stored));
    COMPARE_EXACT(MapModel::ClampScoreX(market, 0), clamped);

    // The derivation reads the clamped value: potential market = sqrt(9 * (10 - x)).
    map.model.DeriveProfitPotential(0);
    COMPARE_EXACT(map.s(MxPotentialProfit).y(0), roundScore(static_cast<double>(std::sqrt(9.0L * (10 - clamped)))));

    // Releasing the mouse stores the clamped value at one decimal.
    map.model.normalisePoints(market);
    COMPARE_EXACT(market.x(0), roundScore(clamped));
    COMPARE_EXACT(market.y(0), 9.0);
}

void TestMapModel::centreIsAFixedPoint() {
    Map map;
    appendRecord(map.table, {});
    appendRecord(map.table, {});
    map.model.RecalculateFrom(QStringLiteral("ALL"));
    map.model.StoreSeriesToTable();
    map.model.RecalculateFrom(QStringLiteral("ALL"));
    for (int row = 0; row < 2; ++row) {
        for (int f : scoreFields())
            QCOMPARE(std::bit_cast<quint64>(map.table.number(row, f)), std::bit_cast<quint64>(5.0));
        for (int m = 0; m < MatrixCount; ++m) {
            COMPARE_EXACT(map.s(m).x(row), 5.0);
            COMPARE_EXACT(map.s(m).y(row), 5.0);
        }
    }
}

void TestMapModel::writeBackStoresTheFieldMap() {
    Map map;
    // Business-model fields carry values of their own that no pass may touch.
    for (int r = 0; r < 3; ++r)
        appendRecord(map.table, {{F_bm_tc_y, 1.5 + r}, {F_bm_pc_x, 2.5}, {F_bm_oo_y, 3.5}, {F_bm_c_x, 4.5}});
    setStored(map.table, 1, F_bubbleradius, 0.7);

    // A distinct, unrounded working value in every series point (and a few out of range).
    struct Source {
        int matrix;
        double x;
        double y;
    };
    const Source sources[] = {
        {MxPotentialMarket, 1.04, 1.16}, {MxValue, 12.34, -0.5},
        {MxPotentialProfit, 2.21, 2.32}, {MxProductMargin, 3.37, 3.44},
        {MxStrategy, 4.05, 4.16},        {MxEffort, 5.26, 5.34},
        {MxSatisfaction, 6.12, 6.23},    {MxInnovation, 7.31, 7.42},
        {MxNeededCapability, 0.9, 0.8},  {MxEva, 8.14, 8.27},
        {MxEvaProfit, 0.7, 0.6},         {MxCostOfCapital, 9.33, 9.41},
        {MxBmOrganisation, 0.3, 0.2},    {MxBmMarket, 0.1, 0.05},
    };
    for (const Source& src : sources) {
        map.s(src.matrix).setX(1, src.x);
        map.s(src.matrix).setY(1, src.y);
    }
    map.model.StoreSeriesToTable();
    QVERIFY(!map.table.controlsDisabled());
    QCOMPARE(map.table.state(), CoordTable::State::Browse);

    const std::map<int, double> expected{
        {F_v_x, 10.0},
        {F_v_y, 0.0},
        {F_pm_x, roundScore(1.04)},
        {F_pm_y, roundScore(1.16)},
        {F_e_x, roundScore(5.26)},
        {F_e_y, roundScore(5.34)},
        {F_s_x, roundScore(4.05)},
        {F_res_pp_x, roundScore(2.21)},
        {F_res_pp_y, roundScore(2.32)},
        {F_res_pm_x, roundScore(3.37)},
        {F_res_pm_y, roundScore(3.44)},
        {F_res_s_y, roundScore(4.16)},
        {F_msd_x, roundScore(6.12)},
        {F_msd_y, roundScore(6.23)},
        {F_nc_x, roundScore(5.26)}, // the effort point, not the needed-capability one
        {F_nc_y, roundScore(5.34)},
        {F_res_im_x, roundScore(7.31)},
        {F_res_im_y, roundScore(7.42)},
        {F_cc_x, roundScore(9.33)},
        {F_cc_y, roundScore(9.41)},
        {F_res_eva_x, roundScore(8.14)},
        {F_res_eva_y, roundScore(8.27)},
        {F_bm_tc_y, 2.5},
        {F_bm_pc_x, 2.5},
        {F_bm_oo_y, 3.5},
        {F_bm_c_x, 4.5},
        {F_bubbleradius, 0.7},
    };
    for (const auto& [field, value] : expected)
        QVERIFY2(exact(map.table.number(1, field)) == exact(value), CoordTable::fields()[field].name);
    QCOMPARE(map.table.value(1, F_rowid).toString(), QStringLiteral("{row-1}"));
    QCOMPARE(map.table.value(1, F_product).toString(), QStringLiteral("P1"));

    for (int row = 0; row < 3; ++row) {
        QCOMPARE(map.table.value(row, F_bcolor).toInt(),
                 BubbleSeries::toWindowsColor(map.s(MxPotentialMarket).color(row)));
        // Untouched rows go through the pass unchanged.
        if (row != 1)
            COMPARE_EXACT(map.table.number(row, F_v_x), 5.0);
    }
    QVERIFY(map.table.value(0, F_bcolor) != map.table.value(1, F_bcolor));

    // The business-model drags never reach the table: the charts show the table again.
    COMPARE_EXACT(map.s(MxBmOrganisation).x(1), 4.5);
    COMPARE_EXACT(map.s(MxBmMarket).y(1), 2.5);
}

void TestMapModel::writeBackOnClosedOrEmptyTable() {
    Map map;
    QSignalSpy changes(&map.table, &CoordTable::changed);
    map.model.RecalculateFrom(QStringLiteral("ALL"));
    map.model.StoreSeriesToTable();
    QCOMPARE(map.table.recordCount(), 0);
    QCOMPARE(map.s(MxEva).count(), 0);
    QVERIFY(!map.table.controlsDisabled());

    map.table.close();
    map.model.StoreSeriesToTable();
    QVERIFY(!map.table.isOpen());
    QCOMPARE(map.s(MxPotentialMarket).count(), 0);
    QCOMPARE(changes.count(), 2); // the write-back's own re-enable, then the close
}

void TestMapModel::writeBackPostsAPendingEditFirst() {
    Map map;
    appendRecord(map.table, {});
    COMPARE_EXACT(map.s(MxValue).x(0), 5.0);
    map.table.edit();
    map.table.setValue(F_v_x, 7.7);
    map.model.StoreSeriesToTable();
    COMPARE_EXACT(map.table.number(0, F_v_x), roundScore(7.7));
    COMPARE_EXACT(map.s(MxValue).x(0), roundScore(7.7));
}

void TestMapModel::effortAndNeededCapabilityCopy() {
    Map map;
    appendRecord(map.table, {});
    appendRecord(map.table, {});
    BubbleSeries& effort = map.s(MxEffort);
    BubbleSeries& capability = map.s(MxNeededCapability);

    effort.setX(1, 3.14159);
    effort.setY(1, 11.0);
    map.model.copyEffortToNeededCapability();
    COMPARE_EXACT(capability.x(1), 3.1);
    COMPARE_EXACT(capability.y(1), 10.0);
    COMPARE_EXACT(capability.x(0), 5.0);
    COMPARE_EXACT(effort.x(1), 3.14159); // the source stays as dragged

    capability.setX(0, -1.0);
    capability.setY(0, 0.35);
    map.model.copyNeededCapabilityToEffort();
    COMPARE_EXACT(effort.x(0), 0.0);
    COMPARE_EXACT(effort.y(0), 0.30000000000000004);
    COMPARE_EXACT(effort.x(1), 3.1);
}

void TestMapModel::passesAnnounceOncePerSeries() {
    Map map;
    for (int r = 0; r < 5; ++r)
        appendRecord(map.table, kWorkedExample);
    for (int m = 0; m < MatrixCount; ++m)
        map.s(m).count();
    QSignalSpy margin(&map.s(MxProductMargin), &BubbleSeries::pointsChanged);
    QSignalSpy eva(&map.s(MxEva), &BubbleSeries::pointsChanged);
    QSignalSpy market(&map.s(MxPotentialMarket), &BubbleSeries::pointsChanged);
    QSignalSpy capability(&map.s(MxNeededCapability), &BubbleSeries::pointsChanged);

    map.model.RecalculateFrom(QStringLiteral("ALL"));
    QCOMPARE(margin.count(), 1);
    QCOMPARE(eva.count(), 1);
    QCOMPARE(market.count(), 0);

    map.model.RecalculateFrom(QStringLiteral("Chart1"));
    QCOMPARE(margin.count(), 1);

    map.model.copyEffortToNeededCapability();
    QCOMPARE(capability.count(), 1);
    map.model.normalisePoints(map.s(MxPotentialMarket));
    QCOMPARE(market.count(), 1);
}

void TestMapModel::readersNeverSeeStalePoints() {
    Map map;
    BubbleSeries& value = map.s(MxValue);
    QCOMPARE(value.count(), 0);
    QSignalSpy announced(&value, &BubbleSeries::pointsChanged);

    // An import posts record after record; the series announces one pending reload, not one per post.
    for (int r = 0; r < 50; ++r)
        appendRecord(map.table, {{F_v_x, 0.1 * r}});
    QCOMPARE(announced.count(), 1);
    QCOMPARE(value.count(), 50);
    COMPARE_EXACT(value.x(49), 0.1 * 49);

    setStored(map.table, 3, F_v_y, 7.7);
    COMPARE_EXACT(value.y(3), 7.7);
    setStored(map.table, 4, F_bubbleradius, 1.25);
    COMPARE_EXACT(map.s(MxBmMarket).radius(4), 1.25);
    setStored(map.table, 5, F_v_y, QVariant());
    QVERIFY(std::isnan(value.y(5)));

    map.table.moveTo(0);
    map.table.remove();
    QCOMPARE(value.count(), 49);

    // While notifications are off the charts keep their points; enabling them again refreshes.
    map.table.disableControls();
    setStored(map.table, 0, F_v_x, 9.9);
    COMPARE_EXACT(value.x(0), 0.1);
    map.table.enableControls();
    COMPARE_EXACT(value.x(0), 9.9);

    map.table.close();
    QCOMPARE(value.count(), 0);
}

void TestMapModel::reloadAllDropsTheWorkingCopy() {
    Map map;
    appendRecord(map.table, kWorkedExample);
    map.model.RecalculateFrom(QStringLiteral("ALL"));
    MapModel::SetScoreX(map.s(MxValue), 0, 2.0);
    COMPARE_EXACT(map.s(MxProductMargin).x(0), tenths(39));

    map.model.reloadAll();
    for (int m = 0; m < MatrixCount; ++m) {
        const MatrixDef& def = matrixCatalogue()[static_cast<std::size_t>(m)];
        COMPARE_EXACT(map.s(m).x(0), map.table.number(0, def.xField));
        COMPARE_EXACT(map.s(m).y(0), map.table.number(0, def.yField));
    }
}

void TestMapModel::paletteAndWindowsColour() {
    QCOMPARE(BubbleSeries::toWindowsColor(0x123456), 0x563412);
    QCOMPARE(BubbleSeries::toWindowsColor(0xFF0000), 0x0000FF);
    QSet<std::uint32_t> colours;
    for (int i = 0; i < 16; ++i)
        colours.insert(BubbleSeries::paletteColor(i));
    QCOMPARE(colours.size(), 16);
    QCOMPARE(BubbleSeries::paletteColor(16), BubbleSeries::paletteColor(0));

    Map map;
    appendRecord(map.table, {});
    appendRecord(map.table, {});
    QCOMPARE(map.s(MxEva).color(1), map.s(MxPotentialMarket).color(1));
    QVERIFY(map.s(MxEva).color(0) != map.s(MxEva).color(1));
}

QTEST_GUILESS_MAIN(TestMapModel)
#include "tst_mapmodel.moc"
