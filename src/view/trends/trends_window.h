// SPDX-License-Identifier: GPL-3.0-or-later
// view/trends/: the trends window, its chart, and recordings read off the window's thread.
#pragma once

#include "chart_ticks.h"
#include "live_trend.h"
#include "live_trend_feed.h"
#include "marks_list.h"
#include "recording_reader.h"
#include "run_recording.h"
#include "trends_chart_view.h"

#include <QMainWindow>
#include <QTimer>

#include <array>
#include <memory>
#include <optional>

QT_BEGIN_NAMESPACE
class QAction;
class QCategoryAxis;
class QChart;
class QLineSeries;
class QListWidget;
class QValueAxis;
QT_END_NAMESPACE

namespace quelo {

class ChartCursor;
class RunComparison;
class SummaryFollower;
class SummaryPanel;

// A separate window charting engine speed, advance and bus voltage against time, each on its
// own axis, with the run's events (status changes, reported values, stores, marks) as lines,
// the stretches without a link shaded, the module's max rpm and max advance limits dashed, and
// a cursor that reads the three values under the mouse. Live mode shows the last five minutes
// of reports (all of them while there are fewer) and takes new points at most four times a
// second, and only while the window is shown; recording mode shows a whole recorded run. Both
// zoom with the rubber band or the wheel and pan with the arrow keys. Time reads as the time of
// day or as the time since the run's start. A summary panel beside the chart gives the figures of
// the visible range; File > Compare with recording lays a second run over the first (see
// RunComparison) and the panel then gives both runs' figures and their differences.
class TrendsWindow final : public QMainWindow, public RunObserver
{
    Q_OBJECT

public:
    static constexpr int kFlushIntervalMs = 250;

    explicit TrendsWindow(QWidget *parent = nullptr);
    // Charts the live trend a feed keeps; the feed must outlive the window.
    explicit TrendsWindow(LiveTrend &live, QWidget *parent = nullptr);
    ~TrendsWindow() override;

    // Live reports: kept whether or not the window is shown; telemetry() and event() stamp
    // them with the system clock, addLive() and addLiveEvent() with the caller's time (UTC ms).
    void telemetry(const TelemetryReport &report) override;
    void event(const RunEvent &event) override;
    void addLive(double t, const TelemetryReport &report);
    void addLiveEvent(double t, const RunEvent &event);
    void clearLive();

    void showLive();
    // `path`, when the run was read from a file, is refused as the run to compare with.
    void showRecording(const Recording &recording, const QString &name, const QString &path = {});
    bool isLive() const { return m_live; }

    // Time labels: time of day or time since the run's start.
    void setTimeLabels(TimeLabels labels);
    // Shows the cursor at a moment (UTC ms) while the mouse is not over the chart, as a replay
    // does with its position; nullopt takes it away.
    void setCursorTime(std::optional<double> utcMs);
    // Moves the view to a moment and puts the cursor there, as the marks list does.
    void jumpTo(double utcMs);

    // Saves the chart as a PDF page when the name ends in .pdf, else as a PNG picture; both
    // with the events, marks, limits and the cursor shown.
    bool saveChart(const QString &path) const;

    QLineSeries *series(Trend which) const { return m_series[std::size_t(which)]; }
    QValueAxis *valueAxis(Trend which) const;
    QValueAxis *timeAxis() const { return m_timeAxis; }
    const ChartOverlay &overlay() const { return m_overlay; }
    QListWidget *marksList() const { return m_marksList; }
    SummaryPanel &summary() const { return *m_summary; }
    RunComparison &comparison() const { return *m_comparison; }

signals:
    // The user clicked the chart at a moment (UTC ms).
    void timeClicked(double utcMs);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void buildChart();
    void buildMenus();
    void buildDocks();
    void buildFileMenu();
    void flushLive();
    void reloadLive();
    void liveTimeRange();
    void setTimeRange(double first, double last);
    void fitValueAxes(const Recording *recording);
    void setMarks(const std::vector<RecordedEvent> &events, double endMs);
    void listMarks();
    void nameSeries();
    void updateSummary();
    void comparisonLoaded(const QString &path, const Recording &run);
    void relabelValueAxis(std::size_t trend);
    void relabelTimeAxis();

    QChart *m_chart = nullptr;
    TrendsChartView *m_view = nullptr;
    QValueAxis *m_timeAxis = nullptr;
    std::array<QLineSeries *, kTrendCount> m_series{};
    std::array<QCategoryAxis *, kTrendCount> m_axes{};
    std::array<std::vector<TrendPoint>, kTrendCount> m_points; // what the series hold
    MarksList *m_marksList = nullptr;
    SummaryPanel *m_summary = nullptr;
    RunComparison *m_comparison = nullptr;
    std::unique_ptr<SummaryFollower> m_follower;
    Recording m_run; // what the summary is of: the recording shown, or the live points
    QString m_runName;
    std::string m_anchorA; // where the runs are aligned: a mark's name, empty for the start
    std::string m_anchorB;
    QAction *m_elapsedAction = nullptr;
    ChartOverlay m_overlay;
    TimeAxisFrame m_frame;
    std::unique_ptr<ChartCursor> m_cursor;
    LiveTrend m_ownTrend;
    LiveTrend &m_liveTrend;
    QTimer m_flushTimer;
    bool m_live = true;
    bool m_relabelling = false;
};

} // namespace quelo
