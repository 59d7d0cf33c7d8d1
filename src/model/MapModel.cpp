// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "model/MapModel.h"

#include "model/CoordTable.h"
#include "model/Scores.h"

#include <QVariant>

#include <algorithm>

namespace korvell {

namespace {

using Real = long double;
using Column = std::array<double*, MatrixCount>;

/// The points of every series as raw columns, so that a pass costs no look-up per point.
struct Points {
    Column x{};
    Column y{};

    double readX(int m, std::size_t i) const { return clampScore(x[static_cast<std::size_t>(m)][i]); }
    double readY(int m, std::size_t i) const { return clampScore(y[static_cast<std::size_t>(m)][i]); }
    void writeX(int m, std::size_t i, Real value) const {
        x[static_cast<std::size_t>(m)][i] = roundScore(static_cast<double>(value));
    }
    void writeY(int m, std::size_t i, Real value) const {
        y[static_cast<std::size_t>(m)][i] = roundScore(static_cast<double>(value));
    }
};

// Each derivation computes all its values from the clamped inputs before writing any, X before Y;
// a later derivation of the same pass reads the rounded values an earlier one wrote.

inline void deriveProduct(const Points& p, std::size_t i) {
    const Real x = geometricMean(p.readY(MxEffort, i), p.readX(MxEffort, i));
    const Real functionality = p.readY(MxValue, i);
    const Real price = p.readX(MxValue, i);
    const Real y = functionality <= price ? geometricMean(functionality, price)
                                          : 10 - geometricMean(10 - functionality, 10 - price);
    p.writeX(MxProductMargin, i, x);
    p.writeY(MxProductMargin, i, y);
}

inline void deriveInnovation(const Points& p, std::size_t i) {
    const Real x = geometricMean(p.readY(MxNeededCapability, i), p.readX(MxNeededCapability, i));
    const Real y = geometricMean(p.readY(MxSatisfaction, i), p.readX(MxSatisfaction, i));
    p.writeX(MxInnovation, i, x);
    p.writeY(MxInnovation, i, y);
}

inline void deriveProfitPotential(const Points& p, std::size_t i) {
    const Real x = geometricMean(p.readY(MxProductMargin, i), 10 - Real(p.readX(MxProductMargin, i)));
    const Real y = geometricMean(p.readY(MxPotentialMarket, i), 10 - Real(p.readX(MxPotentialMarket, i)));
    p.writeX(MxPotentialProfit, i, x);
    p.writeY(MxPotentialProfit, i, y);
    p.writeX(MxEvaProfit, i, x);
    p.writeY(MxEvaProfit, i, y);
}

inline void deriveStrategy(const Points& p, std::size_t i) {
    p.writeY(MxStrategy, i, geometricMean(p.readY(MxPotentialProfit, i), p.readX(MxPotentialProfit, i)));
}

inline void deriveEva(const Points& p, std::size_t i) {
    const Real x = geometricMean(p.readY(MxCostOfCapital, i), p.readX(MxCostOfCapital, i));
    const Real y = geometricMean(p.readY(MxEvaProfit, i), p.readX(MxEvaProfit, i));
    p.writeX(MxEva, i, x);
    p.writeY(MxEva, i, y);
}

// The order in which the map window refreshes its charts when the values tab is left.
constexpr std::array<MatrixIndex, MatrixCount> kReloadOrder = {
    MxPotentialMarket,  MxPotentialProfit, MxProductMargin, MxStrategy, MxEffort,     MxValue,    MxSatisfaction,
    MxNeededCapability, MxEvaProfit,       MxCostOfCapital, MxEva,      MxInnovation, MxBmMarket, MxBmOrganisation,
};

/// Enables the table's notifications again however the pass ends.
class ControlsDisabled {
public:
    explicit ControlsDisabled(CoordTable* table)
        : m_table(table) {
        m_table->disableControls();
    }
    ~ControlsDisabled() { m_table->enableControls(); }
    ControlsDisabled(const ControlsDisabled&) = delete;
    ControlsDisabled& operator=(const ControlsDisabled&) = delete;

private:
    CoordTable* m_table;
};

} // namespace

MapModel::MapModel(CoordTable* table, QObject* parent)
    : QObject(parent)
    , m_table(table) {
    const std::vector<MatrixDef>& catalogue = matrixCatalogue();
    for (std::size_t m = 0; m < m_series.size(); ++m) {
        const MatrixDef& def = catalogue[m];
        m_series[m] = new BubbleSeries(QString::fromUtf8(def.seriesName), table, def.xField, def.yField, this);
    }
}

BubbleSeries* MapModel::series(QStringView seriesName) const {
    for (BubbleSeries* s : m_series) {
        if (s->objectName() == seriesName)
            return s;
    }
    return nullptr;
}

BubbleSeries* MapModel::seriesOfChart(QStringView chartName) const {
    const MatrixDef* def = findMatrix(chartName);
    if (def == nullptr || def->lineChart)
        return nullptr;
    return m_series[static_cast<std::size_t>(def - matrixCatalogue().data())];
}

double MapModel::ClampScoreX(const BubbleSeries& series, int i) {
    return clampScore(series.x(i));
}

double MapModel::ClampScoreY(const BubbleSeries& series, int i) {
    return clampScore(series.y(i));
}

void MapModel::SetScoreX(BubbleSeries& series, int i, long double value) {
    series.setX(i, roundScore(static_cast<double>(value)));
}

void MapModel::SetScoreY(BubbleSeries& series, int i, long double value) {
    series.setY(i, roundScore(static_cast<double>(value)));
}

void MapModel::loadColumns(Column& x, Column& y) const {
    for (std::size_t m = 0; m < m_series.size(); ++m) {
        BubbleSeries* s = m_series[m];
        s->ensureLoaded();
        x[m] = s->m_x.data();
        y[m] = s->m_y.data();
    }
}

int MapModel::pointCount() const {
    // Every series holds one point per record; should one lag behind the others, the pass stops
    // at the shortest instead of running past its end.
    int n = m_series[MxPotentialMarket]->count();
    for (const BubbleSeries* s : m_series)
        n = std::min(n, s->count());
    return n;
}

void MapModel::announce(std::initializer_list<int> indexes) const {
    for (int m : indexes)
        emit m_series[static_cast<std::size_t>(m)]->pointsChanged();
}

void MapModel::checkPoint(int i) const {
    if (i < 0 || i >= pointCount())
        throw Error(QStringLiteral("The map has no point %1").arg(i));
}

void MapModel::DeriveProduct(int i) {
    checkPoint(i);
    Points p;
    loadColumns(p.x, p.y);
    deriveProduct(p, static_cast<std::size_t>(i));
    announce({MxProductMargin});
}

void MapModel::DeriveInnovation(int i) {
    checkPoint(i);
    Points p;
    loadColumns(p.x, p.y);
    deriveInnovation(p, static_cast<std::size_t>(i));
    announce({MxInnovation});
}

void MapModel::DeriveProfitPotential(int i) {
    checkPoint(i);
    Points p;
    loadColumns(p.x, p.y);
    deriveProfitPotential(p, static_cast<std::size_t>(i));
    announce({MxPotentialProfit, MxEvaProfit});
}

void MapModel::DeriveStrategy(int i) {
    checkPoint(i);
    Points p;
    loadColumns(p.x, p.y);
    deriveStrategy(p, static_cast<std::size_t>(i));
    announce({MxStrategy});
}

void MapModel::DeriveEva(int i) {
    checkPoint(i);
    Points p;
    loadColumns(p.x, p.y);
    deriveEva(p, static_cast<std::size_t>(i));
    announce({MxEva});
}

void MapModel::RecalculateFrom(const QString& chartName) {
    Points p;
    loadColumns(p.x, p.y);
    const auto n = static_cast<std::size_t>(pointCount());
    if (n == 0)
        return;
    // Exact, case-sensitive names: a move on one of these three recomputes only the MAP tab's
    // dependents (and the EVA tab's copy of the potential profit); anything else recomputes all.
    if (chartName == QLatin1String("Chart1")) {
        for (std::size_t i = 0; i < n; ++i) {
            deriveProfitPotential(p, i);
            deriveStrategy(p, i);
        }
        announce({MxPotentialProfit, MxEvaProfit, MxStrategy});
    } else if (chartName == QLatin1String("ChartValor") || chartName == QLatin1String("Chart6")) {
        for (std::size_t i = 0; i < n; ++i) {
            deriveProduct(p, i);
            deriveProfitPotential(p, i);
            deriveStrategy(p, i);
        }
        announce({MxProductMargin, MxPotentialProfit, MxEvaProfit, MxStrategy});
    } else {
        for (std::size_t i = 0; i < n; ++i) {
            deriveProduct(p, i);
            deriveInnovation(p, i);
            deriveProfitPotential(p, i);
            deriveStrategy(p, i);
            deriveEva(p, i);
        }
        announce({MxProductMargin, MxInnovation, MxPotentialProfit, MxEvaProfit, MxStrategy, MxEva});
    }
}

void MapModel::StoreSeriesToTable() {
    if (!m_table->isOpen())
        return;
    // first() posts a pending edit; the series must see that post before the pass reads them.
    m_table->first();
    const ControlsDisabled quiet(m_table);
    Points p;
    loadColumns(p.x, p.y);
    const int n = std::min(pointCount(), m_table->recordCount());
    const auto score = [](double value) { return QVariant(roundScore(clampScore(value))); };
    for (int row = 0; row < n; ++row) {
        const auto i = static_cast<std::size_t>(row);
        m_table->edit();
        m_table->setValue(F_v_x, score(p.x[MxValue][i]));
        m_table->setValue(F_v_y, score(p.y[MxValue][i]));
        m_table->setValue(F_pm_x, score(p.x[MxPotentialMarket][i]));
        m_table->setValue(F_pm_y, score(p.y[MxPotentialMarket][i]));
        m_table->setValue(F_e_x, score(p.x[MxEffort][i]));
        m_table->setValue(F_e_y, score(p.y[MxEffort][i]));
        m_table->setValue(F_s_x, score(p.x[MxStrategy][i]));
        m_table->setValue(F_res_pp_x, score(p.x[MxPotentialProfit][i]));
        m_table->setValue(F_res_pp_y, score(p.y[MxPotentialProfit][i]));
        m_table->setValue(F_res_pm_x, score(p.x[MxProductMargin][i]));
        m_table->setValue(F_res_pm_y, score(p.y[MxProductMargin][i]));
        m_table->setValue(F_res_s_y, score(p.y[MxStrategy][i]));
        m_table->setValue(F_bcolor, QVariant(BubbleSeries::toWindowsColor(m_series[MxPotentialMarket]->color(row))));
        m_table->setValue(F_msd_x, score(p.x[MxSatisfaction][i]));
        m_table->setValue(F_msd_y, score(p.y[MxSatisfaction][i]));
        // The needed-capability fields keep a copy of the effort scores.
        m_table->setValue(F_nc_x, score(p.x[MxEffort][i]));
        m_table->setValue(F_nc_y, score(p.y[MxEffort][i]));
        m_table->setValue(F_res_im_x, score(p.x[MxInnovation][i]));
        m_table->setValue(F_res_im_y, score(p.y[MxInnovation][i]));
        m_table->setValue(F_cc_x, score(p.x[MxCostOfCapital][i]));
        m_table->setValue(F_cc_y, score(p.y[MxCostOfCapital][i]));
        m_table->setValue(F_res_eva_x, score(p.x[MxEva][i]));
        m_table->setValue(F_res_eva_y, score(p.y[MxEva][i]));
        m_table->post();
        m_table->next();
    }
}

void MapModel::reloadAll() {
    for (MatrixIndex m : kReloadOrder)
        m_series[static_cast<std::size_t>(m)]->reload();
}

void MapModel::copyPoints(const BubbleSeries& from, BubbleSeries& to) {
    from.ensureLoaded();
    to.ensureLoaded();
    const std::size_t n = std::min(from.m_x.size(), to.m_x.size());
    for (std::size_t i = 0; i < n; ++i) {
        to.m_x[i] = roundScore(clampScore(from.m_x[i]));
        to.m_y[i] = roundScore(clampScore(from.m_y[i]));
    }
    if (n > 0)
        emit to.pointsChanged();
}

void MapModel::copyEffortToNeededCapability() {
    copyPoints(*m_series[MxEffort], *m_series[MxNeededCapability]);
}

void MapModel::copyNeededCapabilityToEffort() {
    copyPoints(*m_series[MxNeededCapability], *m_series[MxEffort]);
}

void MapModel::normalisePoints(BubbleSeries& series) {
    copyPoints(series, series);
}

} // namespace korvell
