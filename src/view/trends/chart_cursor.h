// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart_ticks.h"
#include "live_trend.h"
#include "trends_chart_view.h"

#include <array>
#include <optional>
#include <vector>

namespace quelo {

// The cursor of the trends chart: the time and the three values at the nearest samples. It
// stands under the mouse while the mouse is over the chart, else where it was last put (a
// replay's position, a mark jumped to). A move within the same pixel costs no repaint.
class ChartCursor
{
public:
    // `points` are what the chart's series hold; `timeSeries` places a time on the chart.
    ChartCursor(TrendsChartView &view, ChartOverlay &overlay,
                const std::array<std::vector<TrendPoint>, kTrendCount> &points,
                const TimeAxisFrame &frame, QXYSeries *timeSeries);

    void hover(double utcMs) { place(utcMs); }
    void hoverEnded() { place(m_followMs); }
    // Where the cursor stands while the mouse is elsewhere; nullopt takes it away.
    void follow(std::optional<double> utcMs);
    // Put there at once, the mouse or not.
    void jumpTo(double utcMs);
    // The texts again, after the time labels changed.
    void relabel();

private:
    void place(std::optional<double> utcMs);
    QStringList text(double utcMs) const;

    TrendsChartView &m_view;
    ChartOverlay &m_overlay;
    const std::array<std::vector<TrendPoint>, kTrendCount> &m_points;
    const TimeAxisFrame &m_frame;
    QXYSeries *m_timeSeries;
    std::optional<double> m_followMs;
};

} // namespace quelo
