// SPDX-License-Identifier: GPL-3.0-or-later
#include "trends_chart_view.h"

#include <QChart>
#include <QKeyEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QXYSeries>

#include <algorithm>
#include <array>

namespace quelo {

namespace {

constexpr int kClickSlopPx = 3;
constexpr std::size_t kLabelRows = 4;
const QColor kSpanColour(255, 80, 80, 40);
const QColor kEventColour(90, 90, 90);
const QColor kMarkColour(200, 0, 160);
const QColor kStoredColour(0, 140, 0);
const QColor kCursorColour(0, 0, 0);

QColor eventColour(RunEventKind kind)
{
    switch (kind) {
    case RunEventKind::Mark:
        return kMarkColour;
    case RunEventKind::StoreConfirmed:
        return kStoredColour;
    default:
        return kEventColour;
    }
}

} // namespace

TrendsChartView::TrendsChartView(QChart *chart, const ChartOverlay &overlay,
                                 std::vector<QXYSeries *> seriesByTrend, QWidget *parent)
    : QChartView(chart, parent), m_overlay(overlay), m_series(std::move(seriesByTrend))
{
    setMouseTracking(true);
}

void TrendsChartView::wheelEvent(QWheelEvent *event)
{
    const int notches = event->angleDelta().y() / 120;
    if (notches != 0)
        chart()->zoom(notches > 0 ? 1.25 : 0.8);
    event->accept();
}

void TrendsChartView::keyPressEvent(QKeyEvent *event)
{
    const qreal step = 0.1 * chart()->plotArea().width();
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        return chart()->zoomIn();
    case Qt::Key_Minus:
        return chart()->zoomOut();
    case Qt::Key_Left:
        return chart()->scroll(-step, 0);
    case Qt::Key_Right:
        return chart()->scroll(step, 0);
    case Qt::Key_Home:
        return chart()->zoomReset();
    default:
        return QChartView::keyPressEvent(event);
    }
}

double TrendsChartView::timeAt(const QPointF &viewPos) const
{
    const QPointF inChart = chart()->mapFromScene(mapToScene(viewPos.toPoint()));
    return chart()->mapToValue(inChart, m_series.front()).x();
}

double TrendsChartView::xOf(double utcMs) const
{
    return chart()->mapToPosition(QPointF(utcMs, 0), m_series.front()).x();
}

double TrendsChartView::yOf(double value, std::size_t trend) const
{
    return chart()->mapToPosition(QPointF(0, value), m_series.at(trend)).y();
}

void TrendsChartView::mouseMoveEvent(QMouseEvent *event)
{
    QChartView::mouseMoveEvent(event);
    const QPointF inChart = chart()->mapFromScene(mapToScene(event->position().toPoint()));
    if (chart()->plotArea().contains(inChart))
        emit hovered(timeAt(event->position()));
    else
        emit left();
}

void TrendsChartView::mousePressEvent(QMouseEvent *event)
{
    m_pressedAt = event->position().toPoint();
    QChartView::mousePressEvent(event);
}

void TrendsChartView::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    const bool click =
        event->button() == Qt::LeftButton && (at - m_pressedAt).manhattanLength() <= kClickSlopPx;
    QChartView::mouseReleaseEvent(event);
    const QPointF inChart = chart()->mapFromScene(mapToScene(at));
    if (click && chart()->plotArea().contains(inChart))
        emit clicked(timeAt(at));
}

void TrendsChartView::leaveEvent(QEvent *event)
{
    QChartView::leaveEvent(event);
    emit left();
}

// Reads the overlay and the chart's geometry; changes nothing.
void TrendsChartView::drawForeground(QPainter *painter, const QRectF &rect)
{
    QChartView::drawForeground(painter, rect);
    const QRectF plot = chart()->plotArea();
    if (plot.isEmpty())
        return;
    QPainter &p = *painter;
    p.save();
    p.translate(chart()->pos());
    drawTimeTicks(p, plot);
    p.setClipRect(plot);
    drawSpans(p, plot);
    drawLimits(p, plot);
    drawEvents(p, plot);
    p.setClipping(false);
    drawCursor(p, plot);
    p.restore();
}

void TrendsChartView::drawTimeTicks(QPainter &p, const QRectF &plot) const
{
    const QFontMetrics metrics(font());
    for (const AxisTick &tick : m_overlay.timeTicks) {
        const double x = xOf(tick.at);
        if (x < plot.left() - 0.5 || x > plot.right() + 0.5)
            continue;
        p.setPen(QPen(QColor(0, 0, 0, 40), 0));
        p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        p.setPen(QPen(Qt::black, 0));
        p.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 4));
        const QString label = QString::fromStdString(tick.label);
        const int w = metrics.horizontalAdvance(label);
        p.drawText(QPointF(x - w / 2.0, plot.bottom() + 6 + metrics.ascent()), label);
    }
}

void TrendsChartView::drawSpans(QPainter &p, const QRectF &plot) const
{
    for (const TimeSpan &span : m_overlay.marks.linkDown) {
        const double left = xOf(span.from), right = std::max(xOf(span.to), left + 2);
        p.fillRect(QRectF(QPointF(left, plot.top()), QPointF(right, plot.bottom())), kSpanColour);
    }
}

void TrendsChartView::drawLimits(QPainter &p, const QRectF &) const
{
    // On engine speed's and advance's own axes, dashed in their traces' colours.
    const std::pair<const std::vector<LimitStretch> *, std::size_t> limits[] = {
        {&m_overlay.marks.rpmLimit, 0}, {&m_overlay.marks.advanceLimit, 1}};
    for (const auto &[stretches, trend] : limits) {
        if (trend >= m_series.size())
            continue;
        p.setPen(QPen(m_series[trend]->color(), 1.5, Qt::DashLine));
        for (const LimitStretch &s : *stretches) {
            const double y = yOf(s.value, trend);
            p.drawLine(QPointF(xOf(s.from), y), QPointF(xOf(s.to), y));
        }
    }
}

void TrendsChartView::drawEvents(QPainter &p, const QRectF &plot) const
{
    const QFontMetrics metrics(font());
    // Each label takes the first of a few rows where it clears the label before it; one that
    // fits nowhere is left out (its line still shows, and the cursor reads the moment).
    std::array<double, kLabelRows> rowEnds;
    rowEnds.fill(-1e9);
    for (const ChartEvent &e : m_overlay.marks.events) {
        const double x = xOf(e.t);
        if (x < plot.left() - 1 || x > plot.right() + 1)
            continue;
        const QColor colour = eventColour(e.kind);
        p.setPen(QPen(colour, e.kind == RunEventKind::Mark ? 1.5 : 0.0,
                      isStatusLine(e.kind) ? Qt::DotLine : Qt::SolidLine));
        p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        const QString label = QString::fromStdString(e.label);
        const auto row =
            std::find_if(rowEnds.begin(), rowEnds.end(), [x](double end) { return end < x; });
        if (row == rowEnds.end())
            continue;
        const int index = int(row - rowEnds.begin());
        p.setPen(colour);
        p.drawText(QPointF(x + 3, plot.top() + metrics.ascent() + 2 + index * metrics.height()),
                   label);
        *row = x + 3 + metrics.horizontalAdvance(label) + 4;
    }
}

void TrendsChartView::drawCursor(QPainter &p, const QRectF &plot) const
{
    if (!m_overlay.cursorMs)
        return;
    const double x = xOf(*m_overlay.cursorMs);
    if (x < plot.left() || x > plot.right())
        return;
    p.setPen(QPen(kCursorColour, 1));
    p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    if (m_overlay.cursorLines.isEmpty())
        return;
    const QFontMetrics metrics(font());
    int width = 0;
    for (const QString &line : m_overlay.cursorLines)
        width = std::max(width, metrics.horizontalAdvance(line));
    const QSizeF size(width + 12, metrics.height() * m_overlay.cursorLines.size() + 8);
    // Beside the cursor, on the side with room, low in the plot so that event labels stay read.
    double left = x + 8;
    if (left + size.width() > plot.right())
        left = x - 8 - size.width();
    const QRectF box(QPointF(left, plot.bottom() - size.height() - 8), size);
    p.setPen(QPen(QColor(0, 0, 0, 120), 0));
    p.setBrush(QColor(255, 255, 240, 230));
    p.drawRect(box);
    p.setPen(Qt::black);
    for (int i = 0; i < m_overlay.cursorLines.size(); ++i)
        p.drawText(QPointF(box.left() + 6, box.top() + 4 + metrics.ascent() + i * metrics.height()),
                   m_overlay.cursorLines[i]);
}

} // namespace quelo
