// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart_marks.h"
#include "live_trend.h"
#include "run_alignment.h"

#include <QObject>
#include <QString>

#include <array>

QT_BEGIN_NAMESPACE
class QAbstractAxis;
class QChart;
class QLineSeries;
QT_END_NAMESPACE

namespace quelo {

class RecordingLoader;

// A second recording (B) laid over the run a trends chart shows (A): read off the window's
// thread like any recording, drawn dashed in the series' colours on A's axes, aligned at the
// two runs' starts or at a chosen mark of each. The same file as A's is refused. B keeps a
// summary's worth of points; the chart draws a chart's worth.
class RunComparison final : public QObject
{
    Q_OBJECT

public:
    // The points of each series of B kept for its figures.
    static constexpr std::size_t kKeptPoints = 200000;

    // `solid` are A's series, whose colours and axes B's dashed series take.
    RunComparison(QChart *chart, const std::array<QLineSeries *, kTrendCount> &solid,
                  QWidget *dialogParent);
    ~RunComparison() override;

    // The file A was read from, when it was read from one: refused as B.
    void setShownPath(const QString &path) { m_shownPath = path; }
    // File > Compare with recording: asks for a file and reads it.
    void choose();
    void load(const QString &path);
    // B, read; `a` is the run shown, for the alignment.
    void compareWith(Recording run, const QString &name, const Recording &a);
    void stop();
    bool active() const { return m_active; }

    // Aligns A at markA and B at markB (empty: the start); a mark either run lacks aligns at
    // the starts instead.
    void align(const Recording &a, const std::string &markA, const std::string &markB);
    RunAlignment alignment() const { return m_alignment; }

    const Recording &run() const { return m_run; }
    const ChartMarks &marks() const { return m_marks; }
    QString name() const { return m_name; }
    QLineSeries *series(Trend which) const { return m_series[std::size_t(which)]; }

signals:
    // B came, was aligned anew, or went.
    void changed();
    // B did not read, or is A itself; a box says so too.
    void failed(const QString &message);
    // The reading ended; the window hands over A for the alignment.
    void loaded(const QString &path, const quelo::Recording &run);

private:
    void read(const QString &path, const RecordingRead &read);
    void redraw();

    QChart *m_chart;
    QWidget *m_dialogParent;
    RecordingLoader *m_loader;
    std::array<QLineSeries *, kTrendCount> m_series{};
    Recording m_run;
    Recording m_drawn; // thinned for the chart, in B's own time
    ChartMarks m_marks;
    QString m_name;
    QString m_shownPath;
    RunAlignment m_alignment;
    bool m_active = false;
};

} // namespace quelo
