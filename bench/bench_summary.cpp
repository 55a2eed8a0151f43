// SPDX-License-Identifier: GPL-3.0-or-later
// A run's figures and two runs laid over each other, on one-hour recordings.
#include "run_comparison.h"
#include "run_file.h"
#include "summary_report.h"
#include "trends_window.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>

using namespace quelo;

namespace {

// An hour as the recorder writes it: a telemetry row every 240 ms through an 80-second engine
// cycle, an event row every 500 rows (a mark, a limit reported, the link lost and back).
std::string hourText(int offsetMinutes)
{
    std::string text = "time,elapsed_s,rpm,advance_deg,bus_volts,prop_angle_deg,event\n";
    char time[64], row[160];
    for (int i = 0; i < 15000; ++i) {
        const int ms = offsetMinutes * 60000 + i * 240;
        std::snprintf(time, sizeof time, "2026-03-01T%02d:%02d:%02d.%03dZ,%.3f,", 12 + ms / 3600000,
                      ms / 60000 % 60, ms / 1000 % 60, ms % 1000, i * 0.24);
        const double phase = std::fmod(i * 0.24, 80.0) / 80.0;
        std::snprintf(row, sizeof row, "%s%.0f,%.1f,%.1f,90.0,\n", time,
                      700 + 2000 * std::sin(3.14159 * phase), 21 + 14 * phase, 13.5 + phase);
        text += row;
        if (i % 500 != 499)
            continue;
        const int n = i / 500;
        const std::string events[] = {"mark " + std::to_string(n / 4 + 1),
                                      "max_rpm_limit=" + std::to_string(2560 + 256 * (n % 2)),
                                      "Link lost on Comm Port 1", "Connected Comm Port 1"};
        text += time + std::string(",,,,") + events[n % 4] + "\n";
    }
    return text;
}

QString writeHour(const QTemporaryDir &dir, const QString &name, int offsetMinutes)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(QByteArray::fromStdString(hourText(offsetMinutes)));
    return file.fileName();
}

// /0: the figures of an hour already read; /1: --summary's work, the file read as well.
void BM_SummaryOneHour(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = writeHour(dir, QStringLiteral("hour.csv"), 0);
    const Recording read = readRecordingFile(path).recording;
    for (auto _ : state) {
        const Recording run = state.range(0) ? readRecordingFile(path, {}, 500000).recording : read;
        SummaryReport report{"hour.csv", "whole run", startingConfiguration(run.events),
                             summaryFigures(summarize(run))};
        benchmark::DoNotOptimize(summaryText(report));
    }
    state.counters["rows"] = double(read.rpm.size());
}
BENCHMARK(BM_SummaryOneHour)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Two one-hour recordings laid over each other as File > Compare with recording does: the
// second read off the window's thread while a 5 ms timer on the window's thread notes the
// longest gap between its ticks (the stall a user would feel), then the overlay drawn, the
// figures of both worked out and the window painted (all on the window's thread).
void BM_OverlayOfTwoHours(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString a = writeHour(dir, QStringLiteral("a.csv"), 0);
    const QString b = writeHour(dir, QStringLiteral("b.csv"), 3);
    const Recording runA = readRecordingFile(a).recording;
    double longestStallMs = 0;
    for (auto _ : state) {
        TrendsWindow window;
        window.resize(1200, 640);
        window.show();
        window.showRecording(runA, QStringLiteral("a.csv"), a);
        QElapsedTimer sinceTick;
        sinceTick.start();
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            longestStallMs = std::max(longestStallMs, sinceTick.nsecsElapsed() / 1e6);
            sinceTick.restart();
        });
        tick.start(5);
        window.comparison().load(b);
        while (!window.comparison().active())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        window.repaint();
        QCoreApplication::processEvents();
        tick.stop();
    }
    state.counters["longest_stall_ms"] = longestStallMs;
}
BENCHMARK(BM_OverlayOfTwoHours)->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace
