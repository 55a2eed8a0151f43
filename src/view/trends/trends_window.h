// SPDX-License-Identifier: GPL-3.0-or-later
// view/trends/: the trends window, its chart, and recordings read off the window's thread.
#pragma once

#include "chart_ticks.h"
#include "live_trend.h"
#include "recording_reader.h"
#include "run_recording.h"
#include "trends_chart_view.h"

#include <QMainWindow>
#include <QTimer>

#include <array>
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

// Keeps the live trend while no trends window exists: reports and events stamped with the
// system clock. Costs a deque append per report.
class LiveTrendFeed final : public RunObserver
{
public:
    void telemetry(const TelemetryReport &report) override;
    void event(const RunEvent &event) override;
    LiveTrend &trend() { return m_trend; }

private:
    LiveTrend m_trend;
};

// A separate window charting engine speed, advance and bus voltage against time, each on its
// own axis, with the run's events (status changes, reported values, stores, marks) as lines,
// the stretches without a link shaded, the module's max rpm and max advance limits dashed, and
// a cursor that reads the three values under the mouse. Live mode shows the last five minutes
// of reports (all of them while there are fewer) and takes new points at most four times a
// second, and only while the window is shown; recording mode shows a whole recorded run. Both
// zoom with the rubber band or the wheel and pan with the arrow keys. Time reads as the time of
// day or as the time since the run's start.
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
    void showRecording(const Recording &recording, const QString &name);
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

signals:
    // The user clicked the chart at a moment (UTC ms).
    void timeClicked(double utcMs);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void buildChart();
    void buildMenus();
    void buildMarksList();
    void flushLive();
    void reloadLive();
    void liveTimeRange();
    void setTimeRange(double first, double last);
    void fitValueAxes(const Recording *recording);
    void setMarks(const std::vector<RecordedEvent> &events, double endMs);
    void relabelValueAxis(std::size_t trend);
    void relabelTimeAxis();
    void hover(double utcMs);
    void hoverEnded();
    void placeCursor(std::optional<double> utcMs);
    QStringList cursorText(double utcMs) const;
    void saveAs();

    QChart *m_chart = nullptr;
    TrendsChartView *m_view = nullptr;
    QValueAxis *m_timeAxis = nullptr;
    std::array<QLineSeries *, kTrendCount> m_series{};
    std::array<QCategoryAxis *, kTrendCount> m_axes{};
    std::array<std::vector<TrendPoint>, kTrendCount> m_points; // what the series hold
    QListWidget *m_marksList = nullptr;
    std::vector<double> m_listedMarks; // the times the marks list shows
    QAction *m_elapsedAction = nullptr;
    ChartOverlay m_overlay;
    TimeAxisFrame m_frame;
    std::optional<double> m_followMs; // the cursor while the mouse is elsewhere
    LiveTrend m_ownTrend;
    LiveTrend &m_liveTrend;
    QTimer m_flushTimer;
    bool m_live = true;
    bool m_relabelling = false;
};

} // namespace quelo
