// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include "model/BubbleSeries.h"
#include "model/MatrixCatalogue.h"

#include <QObject>
#include <QString>
#include <QStringView>

#include <array>
#include <initializer_list>

namespace korvell {

class CoordTable;

/**
 * The strategic map: the fourteen bubble series over the coordinate table, the derivations
 * that keep the computed matrices consistent with the input ones, and the write-back of the
 * series into the table.
 *
 * Scores are always read through ClampScoreX/ClampScoreY and written through SetScoreX/SetScoreY.
 * The passes (RecalculateFrom, the effort / needed-capability copies, normalisePoints) announce
 * each series they wrote once, after the pass, not once per point.
 */
class MapModel : public QObject {
    Q_OBJECT
public:
    explicit MapModel(CoordTable* table, QObject* parent = nullptr);

    CoordTable* table() const { return m_table; }

    /// Series of the catalogue entry `index` (MatrixIndex, below MatrixCount).
    BubbleSeries* series(int index) const { return m_series[static_cast<std::size_t>(index)]; }
    /// Series by its component name (`SMercadoPotencial`, `SValor`, ...); nullptr when there is none.
    BubbleSeries* series(QStringView seriesName) const;
    /// Series of a chart by the chart's component name (`Chart1`, ...); nullptr when there is none.
    BubbleSeries* seriesOfChart(QStringView chartName) const;

    /// X or Y of point i clamped into [0, 10]; an empty (NaN) value reads as 0.
    static double ClampScoreX(const BubbleSeries& series, int i);
    static double ClampScoreY(const BubbleSeries& series, int i);
    /// Stores value, converted to double and rounded to one decimal, as X or Y of point i.
    static void SetScoreX(BubbleSeries& series, int i, long double value);
    static void SetScoreY(BubbleSeries& series, int i, long double value);

    /// Recompute point i of one derived matrix (X before Y) from the current points.
    void DeriveProduct(int i);
    void DeriveInnovation(int i);
    void DeriveProfitPotential(int i);
    void DeriveStrategy(int i);
    void DeriveEva(int i);

    /**
     * Recomputes, point by point, the matrices that depend on the named chart: "Chart1" the potential
     * profit (both tabs) and the strategy; "ChartValor" and "Chart6" also the product margin first;
     * any other name (compared exactly, letter case included) every derived matrix.
     */
    void RecalculateFrom(const QString& chartName);

    /**
     * Writes the series into the table, record by record, with the table's notifications disabled
     * for the pass (and enabled again even when a step fails). Does nothing while the table is closed.
     * The business-model fields, `rowid`, `product` and `bubbleradius` are left as they are.
     * Callers show the busy cursor around it.
     */
    void StoreSeriesToTable();

    /// Tells every series to reload from the table, in the order in which the map window refreshes its charts.
    void reloadAll();

    /// Copies every effort point into the needed-capability series (clamped and rounded), X then Y.
    void copyEffortToNeededCapability();
    /// Copies every needed-capability point into the effort series (clamped and rounded), X then Y.
    void copyNeededCapabilityToEffort();
    /// Brings every point of a series into [0, 10] at one decimal, X then Y (the end of a drag).
    void normalisePoints(BubbleSeries& series);

private:
    using Column = std::array<double*, MatrixCount>;

    /// Loads every series and hands out its X and Y storage for passes that touch every point.
    void loadColumns(Column& x, Column& y) const;
    int pointCount() const;
    void checkPoint(int i) const;
    void announce(std::initializer_list<int> indexes) const;
    static void copyPoints(const BubbleSeries& from, BubbleSeries& to);

    CoordTable* m_table;
    std::array<BubbleSeries*, MatrixCount> m_series{};
};

} // namespace korvell
