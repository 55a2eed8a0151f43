// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_support.h"

#include "main_window.h"
#include "window_model.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <iterator>
#include <string>

using namespace quelo;

namespace {

// The window's whole path for one received line: framing, decoding and the change listener that
// brings every control and gauge of the window up to date. Items are lines.
void BM_LineThroughWindow(benchmark::State &state)
{
    bench::BenchComm comm;
    bench::ManualTimers timers;
    WindowModel model(comm, timers);
    MainWindow window(model);
    std::size_t next = 0;
    for (auto _ : state)
        comm.deliver(bench::kReplyLines[next++ % std::size(bench::kReplyLines)].text);
    state.SetItemsProcessed(state.iterations());
    QCoreApplication::removePostedEvents(nullptr);
}
BENCHMARK(BM_LineThroughWindow);

// One 10 ms animation tick and the sync after it. Argument 0: the needles are at their targets;
// 1: the speed target swings by 2000 rpm every 50 ticks, so the needles keep moving (the
// repaints they ask for are coalesced, not painted, here).
void BM_AnimationTick(benchmark::State &state)
{
    bench::BenchComm comm;
    bench::ManualTimers timers;
    WindowModel model(comm, timers);
    MainWindow window(model);
    // The benchmark drives the needles' timer and targets itself, as the conversation would;
    // the model's state is its own, never a const object.
    auto &w = const_cast<WindowState &>(model.state());
    const bool moving = state.range(0) != 0;
    for (int i = 0; i < 2000; ++i) // let every needle reach its target
        w.Timer2.tick();
    long ticks = 0;
    for (auto _ : state) {
        if (moving && ticks++ % 50 == 0)
            w.rpmtarget = w.rpmtarget > 1500 ? 1000 : 3000;
        w.Timer2.tick();
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(moving ? "needles moving" : "needles at rest");
    QCoreApplication::removePostedEvents(nullptr);
}
BENCHMARK(BM_AnimationTick)->Arg(0)->Arg(1);

} // namespace
