// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart_cursor.h"

#include "trend_looks.h"

#include <QChart>
#include <QCoreApplication>
#include <QXYSeries>

#include <cmath>

namespace quelo {

namespace {

// The cursor's reading is part of the Trends window.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(TrendsWindow)
};

} // namespace

ChartCursor::ChartCursor(TrendsChartView &view, ChartOverlay &overlay,
                         const std::array<std::vector<TrendPoint>, kTrendCount> &points,
                         const TimeAxisFrame &frame, QXYSeries *timeSeries)
    : m_view(view), m_overlay(overlay), m_points(points), m_frame(frame), m_timeSeries(timeSeries)
{
}

void ChartCursor::follow(std::optional<double> utcMs)
{
    m_followMs = utcMs;
    if (!m_view.underMouse())
        place(utcMs);
}

void ChartCursor::jumpTo(double utcMs)
{
    m_followMs = utcMs;
    place(utcMs);
}

void ChartCursor::relabel()
{
    const std::optional<double> at = m_overlay.cursorMs;
    m_overlay.cursorMs.reset(); // placed again even on the same pixel
    place(at);
}

QStringList ChartCursor::text(double utcMs) const
{
    QStringList lines;
    const QString clock = QString::fromStdString(timeOfDayText(utcMs, m_frame.utcOffsetMinutes));
    if (m_frame.originMs > 0 && utcMs >= m_frame.originMs)
        lines << Text::tr("%1  (%2 into the run)")
                     .arg(clock,
                          QString::fromStdString(elapsedText((utcMs - m_frame.originMs) / 1000)));
    else
        lines << clock;
    for (std::size_t i = 0; i < kTrendCount; ++i) {
        const auto sample = nearestSample(m_points[i], utcMs);
        if (!sample)
            continue;
        const QString value = QString::number(sample->v, 'f', i == 0 ? 0 : 1);
        lines << lookText(kLooks[i].format).arg(value);
    }
    return lines;
}

void ChartCursor::place(std::optional<double> utcMs)
{
    // A cursor that moves less than a pixel on a chart that is shown (a replay at speed) costs
    // no repaint.
    QChart *chart = m_view.chart();
    const auto pixel = [&](double t) {
        return std::lround(chart->mapToPosition(QPointF(t, 0), m_timeSeries).x());
    };
    if (utcMs && m_overlay.cursorMs && m_view.isVisible() && !chart->plotArea().isEmpty() &&
        pixel(*utcMs) == pixel(*m_overlay.cursorMs))
        return;
    m_overlay.cursorMs = utcMs;
    m_overlay.cursorLines = utcMs ? text(*utcMs) : QStringList();
    m_view.viewport()->update();
}

} // namespace quelo
