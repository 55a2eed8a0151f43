// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "live_trend.h"
#include "recording_reader.h"
#include "run_recording.h"

#include <QMainWindow>
#include <QTimer>

#include <array>

QT_BEGIN_NAMESPACE
class QChart;
class QChartView;
class QDateTimeAxis;
class QLineSeries;
class QValueAxis;
QT_END_NAMESPACE

namespace quelo {

// Keeps the live trend while no trends window exists: reports stamped with the system clock.
// Costs a deque append per report.
class LiveTrendFeed final : public RunObserver
{
public:
    void telemetry(const TelemetryReport &report) override;
    void event(const std::string &) override {}
    LiveTrend &trend() { return m_trend; }

private:
    LiveTrend m_trend;
};

// A separate window charting engine speed, advance and bus voltage against time, each on its
// own axis. Live mode shows the last five minutes of reports and takes new points at most four
// times a second, and only while the window is shown; recording mode shows a whole recorded run.
// Both zoom with the rubber band or the wheel and pan with the arrow keys.
class TrendsWindow final : public QMainWindow, public RunObserver
{
    Q_OBJECT

public:
    static constexpr int kFlushIntervalMs = 250;

    explicit TrendsWindow(QWidget *parent = nullptr);
    // Charts the live trend a feed keeps; the feed must outlive the window.
    explicit TrendsWindow(LiveTrend &live, QWidget *parent = nullptr);
    ~TrendsWindow() override;

    // Live reports: kept whether or not the window is shown; telemetry() stamps them with the
    // system clock, addLive() with the caller's time (UTC ms).
    void telemetry(const TelemetryReport &report) override;
    void event(const std::string &) override {}
    void addLive(double t, const TelemetryReport &report);
    void clearLive();

    void showLive();
    void showRecording(const Recording &recording, const QString &name);
    bool isLive() const { return m_live; }

    // Saves the chart as a PDF page when the name ends in .pdf, else as a PNG picture.
    bool saveChart(const QString &path) const;

    QLineSeries *series(Trend which) const { return m_series[std::size_t(which)]; }
    QValueAxis *valueAxis(Trend which) const { return m_axes[std::size_t(which)]; }
    QDateTimeAxis *timeAxis() const { return m_timeAxis; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void buildChart();
    void buildMenus();
    void flushLive();
    void reloadLive();
    void setTimeRange(double first, double last);
    void fitValueAxes(const Recording *recording);
    void saveAs();

    QChart *m_chart = nullptr;
    QChartView *m_view = nullptr;
    QDateTimeAxis *m_timeAxis = nullptr;
    std::array<QLineSeries *, kTrendCount> m_series{};
    std::array<QValueAxis *, kTrendCount> m_axes{};
    LiveTrend m_ownTrend;
    LiveTrend &m_liveTrend;
    QTimer m_flushTimer;
    bool m_live = true;
};

} // namespace quelo
