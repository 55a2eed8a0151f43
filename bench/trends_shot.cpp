// SPDX-License-Identifier: GPL-3.0-or-later
// quelo-trends-shot RUN.csv [OUT.png]: opens a recording in the Trends window as File > Open
// recording does, prints how long reading it and showing the chart took, and saves the chart.
// Used by scripts/measure.sh and for the user's guide's picture (docs/trends.png); run with
// QT_QPA_PLATFORM=offscreen.
#include "run_file.h"
#include "trends_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineSeries>

#include <cstdio>

using namespace quelo;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2 || args.size() > 3) {
        std::fprintf(stderr, "usage: quelo-trends-shot RUN.csv [OUT.png]\n");
        return 2;
    }
    QElapsedTimer clock;
    clock.start();
    TrendsWindow window;
    const double builtMs = clock.nsecsElapsed() / 1e6;
    const RecordingRead read = readRecordingFile(args[1]);
    if (!read.error.empty()) {
        std::fprintf(stderr, "quelo-trends-shot: %s\n", read.error.c_str());
        return 1;
    }
    const double readMs = clock.nsecsElapsed() / 1e6;
    window.showRecording(read.recording, QFileInfo(args[1]).fileName());
    window.show();
    window.repaint(); // the whole window, chart included, painted once
    const double shownMs = clock.nsecsElapsed() / 1e6;
    std::printf("rpm-points %d window-ms %.1f read-ms %.1f chart-ms %.1f total-ms %.1f\n",
                int(window.series(Trend::EngineSpeed)->count()), builtMs, readMs - builtMs,
                shownMs - readMs, shownMs);
    if (args.size() == 3 && !window.saveChart(args[2])) {
        std::fprintf(stderr, "quelo-trends-shot: cannot write %s\n", qPrintable(args[2]));
        return 1;
    }
    return 0;
}
