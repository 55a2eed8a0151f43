// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart_marks.h"
#include "chart_ticks.h"

#include <QChartView>
#include <QString>

#include <optional>
#include <vector>

QT_BEGIN_NAMESPACE
class QXYSeries;
QT_END_NAMESPACE

namespace quelo {

// What the chart draws over its traces, worked out by the trends window: the events, the
// stretches without a link, the limits, and the cursor with the values it reads.
struct ChartOverlay
{
    ChartMarks marks;
    std::optional<double> cursorMs;  // UTC ms
    QStringList cursorLines;         // the time and the values at the cursor
    std::vector<AxisTick> timeTicks; // drawn as labels and grid lines under the plot
};

// The chart view of the trends window: wheel zoom and keyboard pan on top of the rubber band,
// the overlay painted in front of the chart (so a grab or a print has it too), and the mouse
// reported as times: hover moves the cursor, a click (press and release in one place) picks a
// moment.
class TrendsChartView final : public QChartView
{
    Q_OBJECT

public:
    // The series of engine speed, advance and bus voltage, whose axes place the overlay (the
    // first one's for time).
    TrendsChartView(QChart *chart, const ChartOverlay &overlay,
                    std::vector<QXYSeries *> seriesByTrend, QWidget *parent = nullptr);

signals:
    void hovered(double utcMs);
    void left();
    void clicked(double utcMs);

protected:
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void drawForeground(QPainter *painter, const QRectF &rect) override;

private:
    double timeAt(const QPointF &viewPos) const;
    double xOf(double utcMs) const;
    double yOf(double value, std::size_t trend) const;
    void drawTimeTicks(QPainter &p, const QRectF &plot) const;
    void drawSpans(QPainter &p, const QRectF &plot) const;
    void drawLimits(QPainter &p, const QRectF &plot) const;
    void drawEvents(QPainter &p, const QRectF &plot) const;
    void drawCursor(QPainter &p, const QRectF &plot) const;

    const ChartOverlay &m_overlay;
    std::vector<QXYSeries *> m_series;
    QPoint m_pressedAt;
};

} // namespace quelo
