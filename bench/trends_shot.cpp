// SPDX-License-Identifier: GPL-3.0-or-later
// quelo-trends-shot RUN.csv [OUT.png [B.csv MARK_A MARK_B]]: opens a recording in the Trends
// window as File > Open recording does, prints how long reading it and showing the chart took,
// and saves the chart. With B.csv, lays B over the run aligned at the two marks named (an empty
// name: the start) and saves the whole window, summary panel included.
// Used by scripts/measure.sh and for the user's guide's pictures; run with QT_QPA_PLATFORM=offscreen.
#include "run_comparison.h"
#include "run_file.h"
#include "trends_window.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineSeries>

#include <cstdio>

using namespace quelo;

namespace {

bool compare(TrendsWindow &window, const Recording &a, const QStringList &args)
{
    const RecordingRead b = readRecordingFile(args[3]);
    if (!b.error.empty()) {
        std::fprintf(stderr, "quelo-trends-shot: %s\n", b.error.c_str());
        return false;
    }
    emit window.comparison().loaded(args[3], b.recording);
    window.comparison().align(a, args[4].toStdString(), args[5].toStdString());
    for (const char *name : {"anchorA", "anchorB"}) {
        auto *box = window.findChild<QComboBox *>(QLatin1String(name));
        box->setCurrentIndex(std::max(0, box->findData(args[name[6] == 'A' ? 4 : 5])));
    }
    window.resize(1500, 700);
    QCoreApplication::processEvents(); // the layout and the axes' labels follow the new size
    window.repaint();
    return window.grab().save(args[2], "PNG");
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2 || args.size() == 4 || args.size() == 5 || args.size() > 6) {
        std::fprintf(stderr, "usage: quelo-trends-shot RUN.csv [OUT.png [B.csv MARK_A MARK_B]]\n");
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
    if (args.size() == 6)
        return compare(window, read.recording, args) ? 0 : 1;
    if (args.size() == 3 && !window.saveChart(args[2])) {
        std::fprintf(stderr, "quelo-trends-shot: cannot write %s\n", qPrintable(args[2]));
        return 1;
    }
    return 0;
}
