// SPDX-License-Identifier: GPL-3.0-or-later
#include "trends_window.h"

#include "chart_cursor.h"
#include "chart_export.h"
#include "recording_thin.h"
#include "run_comparison.h"
#include "summary_follower.h"
#include "summary_panel.h"
#include "trend_looks.h"

#include <QCategoryAxis>
#include <QChart>
#include <QDateTime>
#include <QDockWidget>
#include <QFileInfo>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMenuBar>

#include <algorithm>
#include <cmath>

namespace quelo {

namespace {

constexpr int kValueTickSpacingPx = 40;
constexpr int kTimeTickSpacingPx = 90;

int utcOffsetMinutesAt(double utcMs)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(utcMs)).offsetFromUtc() / 60;
}

} // namespace

TrendsWindow::TrendsWindow(QWidget *parent) : TrendsWindow(m_ownTrend, parent) {}

TrendsWindow::TrendsWindow(LiveTrend &live, QWidget *parent)
    : QMainWindow(parent), m_liveTrend(live)
{
    setWindowTitle(tr("Trends"));
    buildChart();
    m_comparison = new RunComparison(m_chart, m_series, this);
    connect(m_comparison, &RunComparison::loaded, this, &TrendsWindow::comparisonLoaded);
    connect(m_comparison, &RunComparison::changed, this, [this] {
        nameSeries();
        listMarks();
        fitValueAxes(m_live ? nullptr : &m_run);
        updateSummary();
    });
    buildFileMenu();
    buildMenus();
    buildDocks();
    resize(1200, 640);
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
        series->setName(lookText(kLooks[i].name));
        auto *axis = new QCategoryAxis;
        axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        axis->setTitleText(lookText(kLooks[i].axisTitle));
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
    m_cursor = std::make_unique<ChartCursor>(*m_view, m_overlay, m_points, m_frame, m_series[0]);
    connect(m_view, &TrendsChartView::hovered, this, [this](double t) { m_cursor->hover(t); });
    connect(m_view, &TrendsChartView::left, this, [this] { m_cursor->hoverEnded(); });
    connect(m_view, &TrendsChartView::clicked, this, &TrendsWindow::timeClicked);
    setCentralWidget(m_view);
    const double now = double(QDateTime::currentMSecsSinceEpoch());
    m_frame.utcOffsetMinutes = utcOffsetMinutesAt(now);
    setTimeRange(now - m_liveTrend.spanMs(), now);
}

void TrendsWindow::buildMenus()
{
    QMenu *chart = menuBar()->addMenu(tr("&Chart"));
    chart->addAction(tr("&Save as…"), QKeySequence::Save, this,
                     [this] { askAndSaveChart(*this, *m_view); });
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

void TrendsWindow::buildFileMenu()
{
    QMenu *file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&Compare with recording…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O),
                    m_comparison, &RunComparison::choose);
    file->addAction(tr("&Stop comparing"), m_comparison, &RunComparison::stop);
    file->addAction(tr("Copy s&ummary"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), this,
                    [this] { m_summary->copy(); });
}

void TrendsWindow::buildDocks()
{
    const auto dock = [this](const QString &title, const char *name, QWidget *content) {
        auto *d = new QDockWidget(title, this);
        d->setObjectName(QLatin1String(name));
        d->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetClosable);
        content->setParent(d);
        d->setWidget(content);
        addDockWidget(Qt::RightDockWidgetArea, d);
    };
    m_marksList = new MarksList;
    m_summary = new SummaryPanel;
    m_marksList->setMaximumHeight(140);
    m_follower = std::make_unique<SummaryFollower>(*m_summary, *m_comparison);
    dock(tr("Marks"), "marksDock", m_marksList);
    dock(tr("Summary"), "summaryDock", m_summary);
    connect(m_marksList, &MarksList::jump, this, &TrendsWindow::jumpTo);
    connect(m_summary, &SummaryPanel::anchorsChosen, this,
            [this](const QString &markA, const QString &markB) {
                m_anchorA = markA.toStdString();
                m_anchorB = markB.toStdString();
                m_comparison->align(m_run, m_anchorA, m_anchorB);
            });
    connect(m_timeAxis, &QValueAxis::rangeChanged, this, &TrendsWindow::updateSummary);
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
    m_run = {}; // the live points and events take its place
    m_runName.clear();
    m_comparison->setShownPath({});
    fitValueAxes(nullptr);
    reloadLive();
    if (isVisible())
        m_flushTimer.start();
}

void TrendsWindow::showRecording(const Recording &recording, const QString &name,
                                 const QString &path)
{
    m_live = false;
    m_flushTimer.stop();
    setWindowTitle(tr("Trends — %1").arg(name));
    m_chart->zoomReset();
    m_run = recording;
    m_runName = name;
    m_comparison->setShownPath(path);
    nameSeries();
    const Recording drawn = thinnedForDrawing(recording);
    const std::vector<TrendPoint> *points[kTrendCount] = {&drawn.rpm, &drawn.advanceDeg,
                                                          &drawn.busVolts};
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
    m_comparison->align(m_run, m_anchorA, m_anchorB);
    updateSummary();
}

// The value axes show the gauge's scale, widened to the largest recorded value if it is larger,
// in the run shown or the run compared with it.
void TrendsWindow::fitValueAxes(const Recording *recording)
{
    for (std::size_t i = 0; i < kTrendCount; ++i) {
        double top = kLooks[i].scaleMax;
        for (const Recording *run :
             {recording, m_comparison->active() ? &m_comparison->run() : nullptr}) {
            if (run)
                for (const TrendPoint &p : seriesOf(*run, Quantity(i)))
                    top = std::max(top, p.v);
        }
        m_axes[i]->setRange(0, top);
    }
}

void TrendsWindow::setMarks(const std::vector<RecordedEvent> &events, double endMs)
{
    m_overlay.marks = chartMarks(events, endMs);
    if (&events != &m_run.events)
        m_run.events = events;
    m_view->viewport()->update();
    listMarks();
}

void TrendsWindow::listMarks()
{
    const bool comparing = m_comparison->active();
    std::vector<ListedMark> listed =
        listedMarks(m_overlay.marks, m_frame.originMs, comparing ? "A" : nullptr, 0);
    if (comparing) {
        const RunComparison &b = *m_comparison;
        const std::vector<ListedMark> marksB = listedMarks(
            b.marks(), runSpan(b.run()).value_or(TimeSpan{}).from, "B", b.alignment().offsetMs);
        listed.insert(listed.end(), marksB.begin(), marksB.end());
    }
    m_marksList->setMarks(listed);
}

// While comparing, the legend and the chart's title say which run each trace is: A solid, B
// dashed.
void TrendsWindow::nameSeries()
{
    const bool comparing = m_comparison->active();
    m_chart->setTitle(
        comparing ? tr("A: %1, solid · B: %2, dashed")
                        .arg(m_runName.toHtmlEscaped(), m_comparison->name().toHtmlEscaped())
                  : QString());
    for (std::size_t i = 0; i < kTrendCount; ++i) {
        const QString name = lookText(kLooks[i].name);
        m_series[i]->setName(comparing ? tr("%1 — A").arg(name) : name);
        m_comparison->series(Trend(i))->setName(tr("%1 — B").arg(name));
        for (QLegendMarker *marker : m_chart->legend()->markers(m_comparison->series(Trend(i))))
            marker->setVisible(comparing);
    }
}

void TrendsWindow::updateSummary()
{
    if (m_live) {
        m_run.rpm = m_points[0];
        m_run.advanceDeg = m_points[1];
        m_run.busVolts = m_points[2];
    }
    m_follower->follow(m_run, m_overlay.marks, m_live ? tr("live run") : m_runName,
                       {m_timeAxis->min(), m_timeAxis->max()});
}

void TrendsWindow::comparisonLoaded(const QString &path, const Recording &run)
{
    m_anchorA.clear();
    m_anchorB.clear();
    m_comparison->compareWith(run, QFileInfo(path).fileName(), m_run);
    m_summary->setAnchors(markNames(m_overlay.marks), markNames(m_comparison->marks()));
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
    m_cursor->relabel();
}

void TrendsWindow::setCursorTime(std::optional<double> utcMs)
{
    m_cursor->follow(utcMs);
}

void TrendsWindow::jumpTo(double utcMs)
{
    const double width = m_timeAxis->max() - m_timeAxis->min();
    if (utcMs < m_timeAxis->min() || utcMs > m_timeAxis->max())
        m_timeAxis->setRange(utcMs - width / 2, utcMs + width / 2);
    m_cursor->jumpTo(utcMs);
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
    return saveChartView(*m_view, path, windowTitle());
}

} // namespace quelo
