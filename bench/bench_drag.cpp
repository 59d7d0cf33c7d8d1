// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "model/CoordTable.h"
#include "model/MapModel.h"
#include "ui/Forms.h"
#include "ui/Main.h"
#include "ui/MatrixChart.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTabWidget>

#include <benchmark/benchmark.h>

using namespace korvell;

namespace {

/// The map window on its strategy tab with n products spread over the matrices.
TFormKorvell* mapWindow(int products) {
    delete FormKorvell;
    Forms::reset();
    Forms::create(FormKorvell);
    TFormKorvell* window = FormKorvell;
    CoordTable* table = window->memCoord;
    table->disableControls();
    for (int i = 1; i < products; ++i) {
        table->append();
        table->edit();
        for (int field = F_pm_x; field <= F_bm_c_x; ++field) {
            if (field != F_bcolor)
                table->setValue(field, (i * 7 + field * 13) % 101 / 10.0);
        }
        table->setValue(F_bubbleradius, 0.1 + (i % 4) / 10.0);
        table->post();
    }
    table->enableControls();
    window->cxPageControl1->setCurrentWidget(window->P_VALUES);
    window->cxPageControl1->setCurrentWidget(window->P_MAP);
    window->show();
    QApplication::processEvents();
    return window;
}

void send(QWidget* target, QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, pos, target->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// One step of a drag on the potential-market matrix: the mouse move reaches the window's handler
// (copy and recomputation), the tool moves the bubble, and, when `paint` is set, the tab's charts
// repaint after every step; without it, what the handler and the tool cost on their own.
void drag(benchmark::State& state, bool paint) {
    TFormKorvell* window = mapWindow(static_cast<int>(state.range(0)));
    MatrixChart* chart = window->chart(QStringLiteral("Chart1"));
    const ChartGeometry& geometry = chart->plotGeometry();
    send(chart, QEvent::MouseButtonPress, geometry.valueToPixel(5, 5), Qt::LeftButton, Qt::LeftButton);
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        send(chart, QEvent::MouseMove, geometry.valueToPixel(flip ? 3 : 7, flip ? 7 : 3), Qt::NoButton, Qt::LeftButton);
        if (paint)
            QApplication::processEvents();
    }
    send(chart, QEvent::MouseButtonRelease, geometry.valueToPixel(5, 5), Qt::LeftButton, Qt::NoButton);
    QApplication::processEvents();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void DragStep(benchmark::State& state) {
    drag(state, true);
}

void DragStepWithoutPaint(benchmark::State& state) {
    drag(state, false);
}

} // namespace

BENCHMARK(DragStep)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(DragStepWithoutPaint)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete FormKorvell;
    return 0;
}
