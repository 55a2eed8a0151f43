// SPDX-License-Identifier: GPL-3.0-or-later
#include "trends_window.h"

#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineSeries>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>
#include <QStandardPaths>
#include <QValueAxis>
#include <QWheelEvent>

#include <algorithm>

namespace quelo {

namespace {

struct TrendLook
{
    const char *name;
    const char *axisTitle;
    double scaleMax; // the gauge's scale: the axis shows at least this much
    Qt::Alignment side;
};

// Engine speed, advance, bus voltage, in the order of Trend.
const TrendLook kLooks[kTrendCount] = {
    {QT_TRANSLATE_NOOP("TrendsWindow", "Engine speed"),
     QT_TRANSLATE_NOOP("TrendsWindow", "Engine speed (rpm)"), 3500, Qt::AlignLeft},
    {QT_TRANSLATE_NOOP("TrendsWindow", "Advance"),
     QT_TRANSLATE_NOOP("TrendsWindow", "Advance (degrees)"), 50, Qt::AlignRight},
    {QT_TRANSLATE_NOOP("TrendsWindow", "Bus voltage"),
     QT_TRANSLATE_NOOP("TrendsWindow", "Bus voltage (V)"), 18, Qt::AlignRight},
};

QList<QPointF> toPoints(const std::vector<TrendPoint> &points)
{
    QList<QPointF> list;
    list.reserve(qsizetype(points.size()));
    for (const TrendPoint &p : points)
        list.append(QPointF(p.t, p.v));
    return list;
}

// The chart view with wheel zoom and keyboard pan on top of the rubber band.
class TrendsChartView final : public QChartView
{
public:
    using QChartView::QChartView;

protected:
    void wheelEvent(QWheelEvent *event) override
    {
        const int notches = event->angleDelta().y() / 120;
        if (notches != 0)
            chart()->zoom(notches > 0 ? 1.25 : 0.8);
        event->accept();
    }

    void keyPressEvent(QKeyEvent *event) override
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
};

} // namespace

void LiveTrendFeed::telemetry(const TelemetryReport &report)
{
    m_trend.add(double(QDateTime::currentMSecsSinceEpoch()), report);
}

TrendsWindow::TrendsWindow(QWidget *parent) : TrendsWindow(m_ownTrend, parent) {}

TrendsWindow::TrendsWindow(LiveTrend &live, QWidget *parent)
    : QMainWindow(parent), m_liveTrend(live)
{
    setWindowTitle(tr("Trends"));
    buildChart();
    buildMenus();
    resize(900, 500);
    m_flushTimer.setInterval(kFlushIntervalMs);
    connect(&m_flushTimer, &QTimer::timeout, this, &TrendsWindow::flushLive);
}

TrendsWindow::~TrendsWindow() = default;

void TrendsWindow::buildChart()
{
    m_chart = new QChart;
    m_chart->legend()->setAlignment(Qt::AlignTop);
    m_timeAxis = new QDateTimeAxis;
    m_timeAxis->setFormat(QStringLiteral("HH:mm:ss"));
    m_timeAxis->setTitleText(tr("Time"));
    m_chart->addAxis(m_timeAxis, Qt::AlignBottom);
    for (std::size_t i = 0; i < kTrendCount; ++i) {
        auto *series = new QLineSeries;
        series->setName(tr(kLooks[i].name));
        auto *axis = new QValueAxis;
        axis->setTitleText(tr(kLooks[i].axisTitle));
        axis->setRange(0, kLooks[i].scaleMax);
        m_chart->addSeries(series);
        m_chart->addAxis(axis, kLooks[i].side);
        series->attachAxis(m_timeAxis);
        series->attachAxis(axis);
        axis->setLinePenColor(series->color());
        axis->setLabelsColor(series->color());
        m_series[i] = series;
        m_axes[i] = axis;
    }
    m_view = new TrendsChartView(m_chart, this);
    m_view->setRubberBand(QChartView::RectangleRubberBand);
    // Plain lines: antialiasing costs about a third more CPU on every live update.
    m_view->setRenderHint(QPainter::Antialiasing, false);
    m_view->setFocusPolicy(Qt::StrongFocus);
    setCentralWidget(m_view);
    const double now = double(QDateTime::currentMSecsSinceEpoch());
    setTimeRange(now - m_liveTrend.spanMs(), now);
}

void TrendsWindow::buildMenus()
{
    QMenu *chart = menuBar()->addMenu(tr("&Chart"));
    chart->addAction(tr("&Save as…"), QKeySequence::Save, this, &TrendsWindow::saveAs);
    chart->addAction(tr("&Live"), this, &TrendsWindow::showLive);
    chart->addAction(tr("&Reset zoom"), QKeySequence(Qt::CTRL | Qt::Key_0), m_chart,
                     &QChart::zoomReset);
    chart->addSeparator();
    chart->addAction(tr("&Close"), QKeySequence::Close, this, &QWidget::close);
}

void TrendsWindow::telemetry(const TelemetryReport &report)
{
    addLive(double(QDateTime::currentMSecsSinceEpoch()), report);
}

void TrendsWindow::addLive(double t, const TelemetryReport &report)
{
    m_liveTrend.add(t, report);
}

void TrendsWindow::clearLive()
{
    m_liveTrend.clear();
    if (m_live)
        reloadLive();
}

void TrendsWindow::showLive()
{
    m_live = true;
    setWindowTitle(tr("Trends"));
    fitValueAxes(nullptr);
    reloadLive();
    if (isVisible())
        m_flushTimer.start();
}

void TrendsWindow::showRecording(const Recording &recording, const QString &name)
{
    m_live = false;
    m_flushTimer.stop();
    setWindowTitle(tr("Trends — %1").arg(name));
    m_chart->zoomReset();
    const std::vector<TrendPoint> *points[kTrendCount] = {&recording.rpm, &recording.advanceDeg,
                                                          &recording.busVolts};
    double first = 0, last = 0;
    bool any = false;
    for (std::size_t i = 0; i < kTrendCount; ++i) {
        m_series[i]->replace(toPoints(*points[i]));
        if (points[i]->empty())
            continue;
        first = any ? std::min(first, points[i]->front().t) : points[i]->front().t;
        last = any ? std::max(last, points[i]->back().t) : points[i]->back().t;
        any = true;
    }
    fitValueAxes(&recording);
    if (any)
        setTimeRange(first, last);
}

// The value axes show the gauge's scale, widened to the largest recorded value if it is larger.
void TrendsWindow::fitValueAxes(const Recording *recording)
{
    for (std::size_t i = 0; i < kTrendCount; ++i) {
        double top = kLooks[i].scaleMax;
        if (recording) {
            const std::vector<TrendPoint> *points[kTrendCount] = {
                &recording->rpm, &recording->advanceDeg, &recording->busVolts};
            for (const TrendPoint &p : *points[i])
                top = std::max(top, p.v);
        }
        m_axes[i]->setRange(0, top);
    }
}

void TrendsWindow::setTimeRange(double first, double last)
{
    if (last <= first)
        last = first + 1000; // a single moment still gets a visible second
    // Ticks closer than the labels' step would repeat one label: milliseconds for a short span,
    // the date for a long one.
    const double span = last - first;
    m_timeAxis->setFormat(span < 20000      ? QStringLiteral("HH:mm:ss.zzz")
                          : span > 86400000 ? QStringLiteral("yyyy-MM-dd HH:mm")
                                            : QStringLiteral("HH:mm:ss"));
    m_timeAxis->setRange(QDateTime::fromMSecsSinceEpoch(qint64(first)),
                         QDateTime::fromMSecsSinceEpoch(qint64(last)));
}

void TrendsWindow::reloadLive()
{
    m_chart->zoomReset();
    for (std::size_t i = 0; i < kTrendCount; ++i)
        m_series[i]->replace(toPoints(m_liveTrend.takeAll(Trend(i))));
    const double newest = m_liveTrend.newest() > 0 ? m_liveTrend.newest()
                                                   : double(QDateTime::currentMSecsSinceEpoch());
    setTimeRange(newest - m_liveTrend.spanMs(), newest);
}

void TrendsWindow::flushLive()
{
    if (!m_live || !m_liveTrend.hasChanges())
        return;
    for (std::size_t i = 0; i < kTrendCount; ++i) {
        const LiveTrend::Changes changes = m_liveTrend.takeChanges(Trend(i));
        QLineSeries *series = m_series[i];
        const int drop =
            int(std::min<std::size_t>(changes.dropFront, std::size_t(series->count())));
        if (drop > 0)
            series->removePoints(0, drop);
        if (!changes.append.empty())
            series->append(toPoints(changes.append));
    }
    if (!m_chart->isZoomed()) // a zoomed chart stays where the user put it
        setTimeRange(m_liveTrend.newest() - m_liveTrend.spanMs(), m_liveTrend.newest());
}

void TrendsWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_live) {
        reloadLive();
        m_flushTimer.start();
    }
}

void TrendsWindow::hideEvent(QHideEvent *event)
{
    m_flushTimer.stop();
    QMainWindow::hideEvent(event);
}

bool TrendsWindow::saveChart(const QString &path) const
{
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        return m_view->grab().save(path, "PNG");
    QPdfWriter pdf(path);
    pdf.setPageOrientation(QPageLayout::Landscape);
    pdf.setTitle(windowTitle());
    QPainter painter;
    if (!painter.begin(&pdf))
        return false;
    m_view->render(&painter, QRectF(), m_view->rect());
    return painter.end();
}

void TrendsWindow::saveAs()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString path =
        QFileDialog::getSaveFileName(this, tr("Save chart"), folder + QStringLiteral("/trends.png"),
                                     tr("PNG picture (*.png);;PDF document (*.pdf)"));
    if (!path.isEmpty() && !saveChart(path))
        QMessageBox::warning(this, tr("Save chart"), tr("Cannot save %1.").arg(path));
}

} // namespace quelo
