// SPDX-License-Identifier: GPL-3.0-or-later
#include "trends_window.h"

#include <QCategoryAxis>
#include <QChart>
#include <QDateTime>
#include <QDockWidget>
#include <QFileDialog>
#include <QLineSeries>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>

namespace quelo {

namespace {

struct TrendLook
{
    const char *name;
    const char *axisTitle;
    double scaleMax; // the gauge's scale: the axis shows at least this much
    Qt::Alignment side;
    double minStep;     // the finest tick step: rpm in hundreds, the others in tenths
    const char *format; // the cursor's reading, in the gauge's unit
};

// Engine speed, advance, bus voltage, in the order of Trend.
const TrendLook kLooks[kTrendCount] = {
    {QT_TRANSLATE_NOOP("TrendsWindow", "Engine speed"),
     QT_TRANSLATE_NOOP("TrendsWindow", "Engine speed (rpm)"), 3500, Qt::AlignLeft, 100,
     QT_TRANSLATE_NOOP("TrendsWindow", "%1 rpm")},
    {QT_TRANSLATE_NOOP("TrendsWindow", "Advance"),
     QT_TRANSLATE_NOOP("TrendsWindow", "Advance (degrees)"), 50, Qt::AlignRight, 0.1,
     QT_TRANSLATE_NOOP("TrendsWindow", "%1° advance")},
    {QT_TRANSLATE_NOOP("TrendsWindow", "Bus voltage"),
     QT_TRANSLATE_NOOP("TrendsWindow", "Bus voltage (V)"), 18, Qt::AlignRight, 0.1,
     QT_TRANSLATE_NOOP("TrendsWindow", "%1 V")},
};

constexpr int kValueTickSpacingPx = 40;
constexpr int kTimeTickSpacingPx = 90;

QList<QPointF> toPoints(const std::vector<TrendPoint> &points)
{
    QList<QPointF> list;
    list.reserve(qsizetype(points.size()));
    for (const TrendPoint &p : points)
        list.append(QPointF(p.t, p.v));
    return list;
}

int utcOffsetMinutesAt(double utcMs)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(utcMs)).offsetFromUtc() / 60;
}

} // namespace

void LiveTrendFeed::telemetry(const TelemetryReport &report)
{
    m_trend.add(double(QDateTime::currentMSecsSinceEpoch()), report);
}

void LiveTrendFeed::event(const RunEvent &event)
{
    m_trend.addEvent(double(QDateTime::currentMSecsSinceEpoch()), event);
}

TrendsWindow::TrendsWindow(QWidget *parent) : TrendsWindow(m_ownTrend, parent) {}

TrendsWindow::TrendsWindow(LiveTrend &live, QWidget *parent)
    : QMainWindow(parent), m_liveTrend(live)
{
    setWindowTitle(tr("Trends"));
    buildChart();
    buildMenus();
    buildMarksList();
    resize(1000, 520);
    m_flushTimer.setInterval(kFlushIntervalMs);
    connect(&m_flushTimer, &QTimer::timeout, this, &TrendsWindow::flushLive);
}

TrendsWindow::~TrendsWindow() = default;

void TrendsWindow::buildChart()
{
    m_chart = new QChart;
    m_chart->legend()->setAlignment(Qt::AlignTop);
    // Time runs in UTC ms on a plain value axis; its labels are drawn by the view at whole
    // seconds or minutes (the axis keeps their room, in a colour that does not show).
    m_timeAxis = new QValueAxis;
    m_timeAxis->setTitleText(tr("Time of day"));
    m_timeAxis->setLabelsColor(Qt::transparent);
    m_timeAxis->setGridLineVisible(false);
    m_timeAxis->setLabelFormat(QStringLiteral("%.0f"));
    m_chart->addAxis(m_timeAxis, Qt::AlignBottom);
    std::vector<QXYSeries *> bySeries;
    for (std::size_t i = 0; i < kTrendCount; ++i) {
        auto *series = new QLineSeries;
        series->setName(tr(kLooks[i].name));
        auto *axis = new QCategoryAxis;
        axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        axis->setTitleText(tr(kLooks[i].axisTitle));
        axis->setGridLineVisible(i == 0);
        m_chart->addSeries(series);
        m_chart->addAxis(axis, kLooks[i].side);
        series->attachAxis(m_timeAxis);
        series->attachAxis(axis);
        axis->setLinePenColor(series->color());
        axis->setLabelsColor(series->color());
        m_series[i] = series;
        m_axes[i] = axis;
        bySeries.push_back(series);
        connect(axis, &QValueAxis::rangeChanged, this, [this, i] { relabelValueAxis(i); });
        axis->setRange(0, kLooks[i].scaleMax);
    }
    connect(m_timeAxis, &QValueAxis::rangeChanged, this, &TrendsWindow::relabelTimeAxis);
    connect(m_chart, &QChart::plotAreaChanged, this, [this] {
        relabelTimeAxis();
        for (std::size_t i = 0; i < kTrendCount; ++i)
            relabelValueAxis(i);
    });
    m_view = new TrendsChartView(m_chart, m_overlay, bySeries, this);
    m_view->setRubberBand(QChartView::RectangleRubberBand);
    // Plain lines: antialiasing costs about a third more CPU on every live update.
    m_view->setRenderHint(QPainter::Antialiasing, false);
    m_view->setFocusPolicy(Qt::StrongFocus);
    connect(m_view, &TrendsChartView::hovered, this, &TrendsWindow::hover);
    connect(m_view, &TrendsChartView::left, this, &TrendsWindow::hoverEnded);
    connect(m_view, &TrendsChartView::clicked, this, &TrendsWindow::timeClicked);
    setCentralWidget(m_view);
    const double now = double(QDateTime::currentMSecsSinceEpoch());
    m_frame.utcOffsetMinutes = utcOffsetMinutesAt(now);
    setTimeRange(now - m_liveTrend.spanMs(), now);
}

void TrendsWindow::buildMenus()
{
    QMenu *chart = menuBar()->addMenu(tr("&Chart"));
    chart->addAction(tr("&Save as…"), QKeySequence::Save, this, &TrendsWindow::saveAs);
    chart->addAction(tr("&Live"), this, &TrendsWindow::showLive);
    chart->addAction(tr("&Reset zoom"), QKeySequence(Qt::CTRL | Qt::Key_0), m_chart,
                     &QChart::zoomReset);
    m_elapsedAction = chart->addAction(tr("&Elapsed time"));
    m_elapsedAction->setObjectName(QStringLiteral("actionElapsed"));
    m_elapsedAction->setCheckable(true);
    m_elapsedAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(m_elapsedAction, &QAction::toggled, this,
            [this](bool on) { setTimeLabels(on ? TimeLabels::Elapsed : TimeLabels::WallClock); });
    chart->addSeparator();
    chart->addAction(tr("&Close"), QKeySequence::Close, this, &QWidget::close);
}

void TrendsWindow::buildMarksList()
{
    auto *dock = new QDockWidget(tr("Marks"), this);
    dock->setObjectName(QStringLiteral("marksDock"));
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetClosable);
    m_marksList = new QListWidget(dock);
    m_marksList->setObjectName(QStringLiteral("marksList"));
    m_marksList->setToolTip(tr("Marks set while recording (M or Ctrl+M); click one to go there"));
    m_marksList->setMaximumWidth(160);
    dock->setWidget(m_marksList);
    addDockWidget(Qt::RightDockWidgetArea, dock);
    connect(m_marksList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { jumpTo(item->data(Qt::UserRole).toDouble()); });
}

void TrendsWindow::telemetry(const TelemetryReport &report)
{
    addLive(double(QDateTime::currentMSecsSinceEpoch()), report);
}

void TrendsWindow::event(const RunEvent &event)
{
    addLiveEvent(double(QDateTime::currentMSecsSinceEpoch()), event);
}

void TrendsWindow::addLive(double t, const TelemetryReport &report)
{
    m_liveTrend.add(t, report);
}

void TrendsWindow::addLiveEvent(double t, const RunEvent &event)
{
    m_liveTrend.addEvent(t, event);
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
    const auto take = [&](double t) {
        first = any ? std::min(first, t) : t;
        last = any ? std::max(last, t) : t;
        any = true;
    };
    for (std::size_t i = 0; i < kTrendCount; ++i) {
        m_points[i] = *points[i];
        m_series[i]->replace(toPoints(*points[i]));
        if (!points[i]->empty()) {
            take(points[i]->front().t);
            take(points[i]->back().t);
        }
    }
    for (const RecordedEvent &e : recording.events)
        take(e.t);
    fitValueAxes(&recording);
    m_frame.originMs = first;
    setMarks(recording.events, last);
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

void TrendsWindow::setMarks(const std::vector<RecordedEvent> &events, double endMs)
{
    m_overlay.marks = chartMarks(events, endMs);
    m_view->viewport()->update();
    // The list is filled again only when the marks changed, not on every live update.
    const std::vector<ChartEvent> marks = m_overlay.marks.marks();
    std::vector<double> times;
    for (const ChartEvent &mark : marks)
        times.push_back(mark.t);
    if (times == m_listedMarks)
        return;
    m_listedMarks = times;
    m_marksList->clear();
    for (const ChartEvent &mark : marks) {
        const QString when =
            m_frame.originMs > 0
                ? QString::fromStdString(elapsedText((mark.t - m_frame.originMs) / 1000))
                : QString();
        auto *item = new QListWidgetItem(tr("%1  %2").arg(QString::fromStdString(mark.label), when),
                                         m_marksList);
        item->setData(Qt::UserRole, mark.t);
    }
}

void TrendsWindow::setTimeRange(double first, double last)
{
    if (last <= first)
        last = first + 1000; // a single moment still gets a visible second
    m_timeAxis->setRange(first, last);
}

// The last five minutes, or all there is while there is less.
void TrendsWindow::liveTimeRange()
{
    const double newest = m_liveTrend.newest() > 0 ? m_liveTrend.newest()
                                                   : double(QDateTime::currentMSecsSinceEpoch());
    const double origin = m_liveTrend.origin() > 0 ? m_liveTrend.origin() : newest;
    setTimeRange(std::max(newest - m_liveTrend.spanMs(), origin), newest);
}

void TrendsWindow::reloadLive()
{
    m_chart->zoomReset();
    for (std::size_t i = 0; i < kTrendCount; ++i) {
        m_points[i] = m_liveTrend.takeAll(Trend(i));
        m_series[i]->replace(toPoints(m_points[i]));
    }
    m_frame.originMs = m_liveTrend.origin();
    setMarks(m_liveTrend.takeEvents(), m_liveTrend.newest());
    liveTimeRange();
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
        if (drop > 0) {
            series->removePoints(0, drop);
            m_points[i].erase(m_points[i].begin(), m_points[i].begin() + drop);
        }
        if (!changes.append.empty()) {
            series->append(toPoints(changes.append));
            m_points[i].insert(m_points[i].end(), changes.append.begin(), changes.append.end());
        }
    }
    // The events and the stretches still open run to the newest report.
    setMarks(m_liveTrend.takeEvents(), m_liveTrend.newest());
    if (!m_chart->isZoomed()) // a zoomed chart stays where the user put it
        liveTimeRange();
}

QValueAxis *TrendsWindow::valueAxis(Trend which) const
{
    return m_axes[std::size_t(which)];
}

void TrendsWindow::relabelValueAxis(std::size_t trend)
{
    if (m_relabelling)
        return;
    m_relabelling = true;
    QCategoryAxis *axis = m_axes[trend];
    const int count = std::max(2, int(m_chart->plotArea().height()) / kValueTickSpacingPx);
    for (const QString &label : axis->categoriesLabels())
        axis->remove(label);
    axis->setStartValue(axis->min());
    for (const AxisTick &tick : valueTicks(axis->min(), axis->max(), count, kLooks[trend].minStep))
        axis->append(QString::fromStdString(tick.label), tick.at);
    m_relabelling = false;
}

void TrendsWindow::relabelTimeAxis()
{
    const int count = std::max(2, int(m_chart->plotArea().width()) / kTimeTickSpacingPx);
    m_overlay.timeTicks = timeTicks(m_timeAxis->min(), m_timeAxis->max(), count, m_frame);
    m_view->viewport()->update();
}

void TrendsWindow::setTimeLabels(TimeLabels labels)
{
    m_frame.labels = labels;
    m_timeAxis->setTitleText(labels == TimeLabels::Elapsed ? tr("Elapsed time (mm:ss)")
                                                           : tr("Time of day"));
    if (m_elapsedAction->isChecked() != (labels == TimeLabels::Elapsed))
        m_elapsedAction->setChecked(labels == TimeLabels::Elapsed);
    relabelTimeAxis();
    placeCursor(m_overlay.cursorMs);
}

QStringList TrendsWindow::cursorText(double utcMs) const
{
    QStringList lines;
    const QString clock = QString::fromStdString(timeOfDayText(utcMs, m_frame.utcOffsetMinutes));
    if (m_frame.originMs > 0 && utcMs >= m_frame.originMs)
        lines << tr("%1  (%2 into the run)")
                     .arg(clock,
                          QString::fromStdString(elapsedText((utcMs - m_frame.originMs) / 1000)));
    else
        lines << clock;
    for (std::size_t i = 0; i < kTrendCount; ++i) {
        const auto sample = nearestSample(m_points[i], utcMs);
        if (!sample)
            continue;
        const QString value = QString::number(sample->v, 'f', i == 0 ? 0 : 1);
        lines << tr(kLooks[i].format).arg(value);
    }
    return lines;
}

void TrendsWindow::placeCursor(std::optional<double> utcMs)
{
    // A cursor that moves less than a pixel on a chart that is shown (a replay at speed) costs
    // no repaint.
    const auto pixel = [this](double t) {
        return std::lround(m_chart->mapToPosition(QPointF(t, 0), m_series[0]).x());
    };
    if (utcMs && m_overlay.cursorMs && m_view->isVisible() && !m_chart->plotArea().isEmpty() &&
        pixel(*utcMs) == pixel(*m_overlay.cursorMs))
        return;
    m_overlay.cursorMs = utcMs;
    m_overlay.cursorLines = utcMs ? cursorText(*utcMs) : QStringList();
    m_view->viewport()->update();
}

void TrendsWindow::hover(double utcMs)
{
    placeCursor(utcMs);
}

void TrendsWindow::hoverEnded()
{
    placeCursor(m_followMs);
}

void TrendsWindow::setCursorTime(std::optional<double> utcMs)
{
    m_followMs = utcMs;
    if (!m_view->underMouse())
        placeCursor(utcMs);
}

void TrendsWindow::jumpTo(double utcMs)
{
    const double width = m_timeAxis->max() - m_timeAxis->min();
    if (utcMs < m_timeAxis->min() || utcMs > m_timeAxis->max())
        m_timeAxis->setRange(utcMs - width / 2, utcMs + width / 2);
    m_followMs = utcMs;
    placeCursor(utcMs);
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
