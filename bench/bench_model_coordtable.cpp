// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "model/CoordTable.h"
#include "model/CsvTable.h"

#include "RatioReporter.h"

#include <benchmark/benchmark.h>

#include <QString>
#include <QStringList>

#include <iostream>
#include <map>
#include <string>
#include <vector>

using namespace korvell;

namespace {

QString key(int user) {
    return QStringLiteral("{user-%1}").arg(user);
}

/// The import's access pattern: ten passes over every user, each finding the user's record by key
/// (in mixed letter case) and setting two scores; the first pass appends the records.
void ImportPattern(benchmark::State& state) {
    const int users = static_cast<int>(state.range(0));
    QStringList keys;
    QStringList lowerKeys;
    for (int u = 0; u < users; ++u) {
        keys << key(u);
        lowerKeys << key(u).toLower();
    }
    for (auto _ : state) {
        CoordTable table;
        table.open();
        for (int step = 0; step < 10; ++step) {
            const int x = F_pm_x + 2 * step;
            for (int u = 0; u < users; ++u) {
                if (table.locateRowId(step % 2 ? lowerKeys[u] : keys[u])) {
                    table.edit();
                } else {
                    table.append();
                    table.setValue(F_rowid, keys[u]);
                }
                table.setValue(x, 5.0);
                table.setValue(x + 1, 5.0);
                table.post();
            }
        }
        benchmark::DoNotOptimize(table.recordCount());
    }
    state.SetItemsProcessed(state.iterations() * users * 10);
}

/// Reading one field over every record, as a series reload does, against the same over a plain vector.
void NumberColumn(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    CoordTable table;
    table.open();
    table.disableControls();
    for (int r = 0; r < rows; ++r) {
        table.append();
        table.setValue(F_pm_x, r % 11);
        table.post();
    }
    for (auto _ : state) {
        double sum = 0;
        for (int r = 0; r < rows; ++r)
            sum += table.number(r, F_pm_x);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * rows);
}

void PlainColumn(benchmark::State& state) {
    std::vector<double> column(static_cast<std::size_t>(state.range(0)));
    for (std::size_t r = 0; r < column.size(); ++r)
        column[r] = static_cast<double>(r % 11);
    for (auto _ : state) {
        double sum = 0;
        for (const double v : column)
            sum += v;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

/// Parsing CSV text of products with quoted names.
void CsvParse(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    QString text = QStringLiteral("rowid,product,pm_x,pm_y,v_x,v_y\n");
    for (int r = 0; r < rows; ++r)
        text += QStringLiteral("%1,\"Product, %2\",4.5,9,6.25,7\r\n").arg(key(r)).arg(r);
    for (auto _ : state)
        benchmark::DoNotOptimize(CsvTable::parse(text).rowCount());
    state.SetItemsProcessed(state.iterations() * rows);
}

BENCHMARK(ImportPattern)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(NumberColumn)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlainColumn)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(CsvParse)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

/// The ratios the goals are stated in (CPU time, quietest repetition).
class Ratios : public korvell::RatioReporter {
protected:
    void printRatios(std::ostream& out) const override {
        // A scan per look-up would give 100; above 10 is the cost of cache misses in larger tables.
        out << "\n10x the records / time (goal <= 20, linear):\n";
        for (const char* op : {"ImportPattern/", "CsvParse/"}) {
            out << "  " << op << " 1000->10000: " << ratio(op, "10000", op, "1000")
                << ", 10000->100000: " << ratio(op, "100000", op, "10000") << "\n";
        }
        out << "number() over a field / plain vector (goal <= 3): "
            << ratio("NumberColumn/", "100000", "PlainColumn/", "100000") << "\n";
    }
};

} // namespace

int main(int argc, char** argv) {
    Ratios reporter;
    return korvell::runBenchmarks(argc, argv, reporter);
}
