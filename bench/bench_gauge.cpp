// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls.h"
#include "gauge_face.h"
#include "gauge_widget.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

#include <benchmark/benchmark.h>

#include <string>

using namespace quelo;

namespace {

// One synchronous repaint of a shown engine-speed gauge, as the backing store does it.
// Arguments: face (1: a band end moved, so the face is drawn again; 0: only the needle moved),
// device pixel ratio (1 or 2: the gauge sits on the offscreen screen of that ratio) and width
// (400 x 337 for comparison with a plain Qt window's gauges; 201 x 169 as in the window).
void BM_GaugeRepaint(benchmark::State &state)
{
    const bool face = state.range(0) != 0;
    const int dpr = static_cast<int>(state.range(1));
    const int width = static_cast<int>(state.range(2));
    const QSize size = width == 400 ? QSize(400, 337) : QSize(201, 169);

    QScreen *screen = nullptr;
    for (QScreen *candidate : QGuiApplication::screens()) {
        if (qFuzzyCompare(candidate->devicePixelRatio(), qreal(dpr)))
            screen = candidate;
    }
    if (!screen) {
        state.SkipWithError("no screen with this device pixel ratio (see bench_main.cpp)");
        return;
    }

    Gauge gauge(GaugeFace::rpm());
    gauge.setBandSelector(3);
    GaugeWidget widget(gauge);
    widget.setScreen(screen);
    widget.setGeometry(QRect(screen->geometry().topLeft() + QPoint(50, 50), size));
    widget.show();
    QCoreApplication::processEvents();
    if (!qFuzzyCompare(widget.devicePixelRatioF(), qreal(dpr))) {
        state.SkipWithError("the gauge did not get the screen's device pixel ratio");
        return;
    }

    const int paintsBefore = widget.paintCount();
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        if (face)
            gauge.setBandEndValue(flip ? 3400 : 3300);
        gauge.Value = flip ? 1200 : 2400;
        widget.sync();
        widget.repaint();
    }
    if (widget.paintCount() - paintsBefore != state.iterations())
        state.SkipWithError("the gauge did not paint once per iteration");
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(std::string(face ? "full face" : "needle only") + " @" + std::to_string(dpr) +
                   "x " + std::to_string(size.width()) + "x" + std::to_string(size.height()));
}
BENCHMARK(BM_GaugeRepaint)
    ->ArgNames({"face", "dpr", "width"})
    ->ArgsProduct({{0, 1}, {1, 2}, {400, 201}})
    ->Unit(benchmark::kMicrosecond);

} // namespace
