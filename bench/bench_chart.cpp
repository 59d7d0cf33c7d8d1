// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "model/BubbleSeries.h"
#include "model/CoordTable.h"
#include "model/MatrixCatalogue.h"
#include "ui/MatrixChart.h"

#include <QApplication>
#include <QImage>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

using namespace korvell;

namespace {

// The six matrices of the MAP tab at the size they take in the map window.
constexpr MatrixIndex mapTab[] = {MxPotentialMarket, MxValue, MxPotentialProfit, MxProductMargin, MxStrategy, MxEffort};
constexpr QSize chartSize(420, 330);

struct Scene {
    explicit Scene(int products, int charts) {
        table.open();
        QRandomGenerator random(42);
        for (int i = 0; i < products; ++i) {
            table.append();
            table.setValue(F_product, QStringLiteral("P%1").arg(i));
            table.setValue(F_bubbleradius, 0.4);
            for (int field = F_pm_x; field <= F_bm_c_x; ++field)
                if (field != F_bcolor)
                    table.setValue(field, random.bounded(100) / 10.0);
            table.post();
        }
        for (int c = 0; c < charts; ++c) {
            const MatrixDef& def = matrixCatalogue().at(mapTab[c]);
            auto* series = new BubbleSeries(QString::fromUtf8(def.seriesName), &table, def.xField, def.yField, &table);
            auto chart = std::make_unique<MatrixChart>(def);
            chart->setSeries(series, &table);
            chart->resize(chartSize);
            charts_.push_back(std::move(chart));
        }
        render(); // the cached background and the first reload of every series are not what is measured
    }

    void render() {
        for (const auto& chart : charts_)
            chart->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    }

    CoordTable table;
    std::vector<std::unique_ptr<MatrixChart>> charts_;
    QImage image{chartSize, QImage::Format_ARGB32_Premultiplied};
};

void repaint(benchmark::State& state, int charts) {
    Scene scene(static_cast<int>(state.range(0)), charts);
    for (auto _ : state) {
        scene.render();
        benchmark::DoNotOptimize(scene.image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * charts);
}

void BM_RepaintOneChart(benchmark::State& state) {
    repaint(state, 1);
}
void BM_RepaintSixMapCharts(benchmark::State& state) {
    repaint(state, 6);
}

} // namespace

// 0 products is the floor: background, axes and captions only.
BENCHMARK(BM_RepaintOneChart)->Arg(0)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintSixMapCharts)->Arg(0)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
