// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "model/CoordTable.h"
#include "model/MapModel.h"
#include "model/Scores.h"

#include "RatioReporter.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <cstdint>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace korvell;

namespace {

/// Scores at one decimal from a fixed sequence, so every run sees the same products.
class Scores01 {
public:
    double next() {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>((m_state >> 33) % 101) / 10.0;
    }

private:
    std::uint64_t m_state = 42;
};

struct Map {
    CoordTable table;
    MapModel model{&table};

    explicit Map(int products) {
        table.open();
        Scores01 scores;
        table.disableControls();
        for (int r = 0; r < products; ++r) {
            table.append();
            table.setValue(F_rowid, QStringLiteral("{%1}").arg(r));
            table.setValue(F_bubbleradius, 0.4);
            for (int f = F_pm_x; f < FieldCount; ++f) {
                if (f != F_bcolor)
                    table.setValue(f, scores.next());
            }
            table.post();
        }
        table.enableControls();
        load();
    }
    void load() {
        for (int m = 0; m < MatrixCount; ++m)
            benchmark::DoNotOptimize(model.series(m)->count());
    }
};

/// The same recomputation over plain arrays: the limit the model is measured against.
struct PlainColumns {
    std::vector<double> pmX, pmY, vX, vY, eX, eY, msdX, msdY, ncX, ncY, ccX, ccY;
    std::vector<double> ppX, ppY, evaPpX, evaPpY, pmaX, pmaY, sY, imX, imY, evaX, evaY;

    explicit PlainColumns(int products) {
        Scores01 scores;
        for (std::vector<double>* column :
             {&pmX, &pmY, &vX,     &vY,     &eX,   &eY,   &msdX, &msdY, &ncX, &ncY,  &ccX, &ccY,
              &ppX, &ppY, &evaPpX, &evaPpY, &pmaX, &pmaY, &sY,   &imX,  &imY, &evaX, &evaY}) {
            column->resize(static_cast<std::size_t>(products));
            for (double& v : *column)
                v = scores.next();
        }
    }

    void recalculateAll() {
        using Real = long double;
        const std::size_t n = pmX.size();
        for (std::size_t i = 0; i < n; ++i) {
            const Real marginX = geometricMean(clampScore(eY[i]), clampScore(eX[i]));
            const Real b = clampScore(vY[i]);
            const Real c = clampScore(vX[i]);
            const Real marginY = b <= c ? geometricMean(b, c) : 10 - geometricMean(10 - b, 10 - c);
            pmaX[i] = roundScore(static_cast<double>(marginX));
            pmaY[i] = roundScore(static_cast<double>(marginY));

            const Real innovationX = geometricMean(clampScore(ncY[i]), clampScore(ncX[i]));
            const Real innovationY = geometricMean(clampScore(msdY[i]), clampScore(msdX[i]));
            imX[i] = roundScore(static_cast<double>(innovationX));
            imY[i] = roundScore(static_cast<double>(innovationY));

            const Real profitX = geometricMean(clampScore(pmaY[i]), 10 - Real(clampScore(pmaX[i])));
            const Real profitY = geometricMean(clampScore(pmY[i]), 10 - Real(clampScore(pmX[i])));
            ppX[i] = roundScore(static_cast<double>(profitX));
            ppY[i] = roundScore(static_cast<double>(profitY));
            evaPpX[i] = roundScore(static_cast<double>(profitX));
            evaPpY[i] = roundScore(static_cast<double>(profitY));

            sY[i] = roundScore(static_cast<double>(geometricMean(clampScore(ppY[i]), clampScore(ppX[i]))));

            const Real evaXValue = geometricMean(clampScore(ccY[i]), clampScore(ccX[i]));
            const Real evaYValue = geometricMean(clampScore(evaPpY[i]), clampScore(evaPpX[i]));
            evaX[i] = roundScore(static_cast<double>(evaXValue));
            evaY[i] = roundScore(static_cast<double>(evaYValue));
        }
    }
};

void RecalculateAll(benchmark::State& state) {
    Map map(static_cast<int>(state.range(0)));
    const QString all = QStringLiteral("ALL");
    for (auto _ : state)
        map.model.RecalculateFrom(all);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void PlainLoop(benchmark::State& state) {
    PlainColumns columns(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        columns.recalculateAll();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void StoreSeriesToTable(benchmark::State& state) {
    Map map(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        map.model.StoreSeriesToTable();
        // The write-back ends with a refresh of every chart; the next pass starts from loaded series.
        state.PauseTiming();
        map.load();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(RecalculateAll)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlainLoop)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(StoreSeriesToTable)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

/// The ratios the goals are stated in (CPU time: the build machine is shared).
class Ratios : public korvell::RatioReporter {
protected:
    void printRatios(std::ostream& out) const override {
        out << "\nmodel / plain loop (goal <= 1.5):\n";
        for (const char* n : {"1000", "10000", "100000"})
            out << "  " << n << " products: " << ratio("RecalculateAll/", n, "PlainLoop/", n) << "\n";
        out << "10x the products / time (goal <= 11):\n";
        for (const char* op : {"RecalculateAll/", "StoreSeriesToTable/", "PlainLoop/"}) {
            out << "  " << op << " 1000->10000: " << ratio(op, "10000", op, "1000")
                << ", 10000->100000: " << ratio(op, "100000", op, "10000") << "\n";
        }
    }
};

} // namespace

int main(int argc, char** argv) {
    Ratios reporter;
    return korvell::runBenchmarks(argc, argv, reporter);
}
