// SPDX-License-Identifier: GPL-3.0-or-later
#include "replay_window.h"

#include "gauge_widget.h"
#include "replay_readout.h"
#include "trends_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace quelo {

namespace {

// The slider moves in steps of a tenth of a second, or of a thousandth of the run when that is
// longer: finer steps than its pixels would repaint it on every row of a fast replay.
constexpr double kSliderStepMs = 100;
constexpr int kSliderSteps = 1000;
const int kSpeeds[] = {1, 4, 16};

} // namespace

ReplayWindow::ReplayWindow(Recording recording, const QString &fileName, QWidget *parent)
    : QWidget(parent), m_fileName(fileName)
{
    setWindowTitle(tr("Replay — %1").arg(fileName));
    m_clock.start();
    m_replay = std::make_unique<Replay>(std::move(recording), m_timers,
                                        [this] { return m_clock.elapsed(); });
    auto *layout = new QVBoxLayout(this);
    m_readout = new ReplayReadout(m_replay->recording(), this);
    buildGauges();
    buildControls();
    layout->addWidget(m_readout);
    connect(m_readout, &ReplayReadout::jump, this,
            [this](double utcMs) { m_replay->seek(utcMs - m_replay->startMs()); });
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_replay->setChangeListener([this] { replayChanged(); });
    m_replay->setNeedleListener([this] {
        for (GaugeWidget *gauge : m_gauges)
            gauge->sync();
    });
    replayChanged();
}

ReplayWindow::~ReplayWindow()
{
    m_replay->setChangeListener({});
    m_replay->setNeedleListener({});
}

void ReplayWindow::buildGauges()
{
    // The main window's gauges at the main window's sizes, side by side, on its navy.
    auto *panel = new QWidget(this);
    panel->setFixedSize(880, 245); // the gauges, and under each its value
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, QColor(0x00, 0x00, 0x80));
    panel->setPalette(palette);
    const Needles &g = m_replay->gauges();
    struct Placement
    {
        const Gauge &gauge;
        const char *name;
        QRect geometry;
        const bool *shown;
    };
    // The propeller gauge last: it hides while the engine runs, as in the main window.
    const Placement placements[] = {
        {g.advdial, "advdial", {16, 40, 201, 169}, nullptr},
        {g.rpmdial, "rpmdial", {224, 40, 201, 169}, nullptr},
        {g.voltsdial, "voltsdial", {432, 40, 201, 169}, nullptr},
        {g.AGauge2, "AGauge2", {648, 16, 217, 193}, &m_replay->propellerShown()}};
    for (std::size_t i = 0; i < m_gauges.size(); ++i) {
        const Placement &p = placements[i];
        m_gauges[i] = new GaugeWidget(p.gauge, p.shown, panel);
        m_gauges[i]->setObjectName(QString::fromLatin1(p.name));
        m_gauges[i]->setGeometry(p.geometry);
    }
    m_readout->placeValues(panel, {placements[1].geometry, placements[0].geometry,
                                   placements[2].geometry, placements[3].geometry});
    layout()->addWidget(panel);
}

void ReplayWindow::buildControls()
{
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("replayStatus"));
    m_status->setStyleSheet(QStringLiteral(
        "QLabel { background: #000080; color: #00FF00; font-weight: bold; padding: 3px; }"));
    layout()->addWidget(m_status);

    auto *row = new QHBoxLayout;
    m_play = new QPushButton(tr("Play"), this);
    m_play->setObjectName(QStringLiteral("replayPlay"));
    m_play->setShortcut(QKeySequence(Qt::Key_Space));
    connect(m_play, &QPushButton::clicked, this,
            [this] { m_replay->playing() ? m_replay->pause() : m_replay->play(); });
    m_speed = new QComboBox(this);
    m_speed->setObjectName(QStringLiteral("replaySpeed"));
    for (int speed : kSpeeds)
        m_speed->addItem(tr("%1×").arg(speed), speed);
    connect(m_speed, &QComboBox::activated, this,
            [this](int index) { m_replay->setSpeed(m_speed->itemData(index).toInt()); });
    m_position = new QSlider(Qt::Horizontal, this);
    m_position->setObjectName(QStringLiteral("replayPosition"));
    m_sliderStepMs = std::max(kSliderStepMs, m_replay->durationMs() / kSliderSteps);
    m_position->setRange(0, int(std::ceil(m_replay->durationMs() / m_sliderStepMs)));
    connect(m_position, &QSlider::sliderMoved, this, &ReplayWindow::sliderMoved);
    connect(m_position, &QSlider::actionTriggered, this, [this](int action) {
        if (action != QAbstractSlider::SliderMove) // page and arrow steps
            sliderMoved(m_position->sliderPosition());
    });
    auto *trendsButton = new QPushButton(tr("Trends"), this);
    trendsButton->setObjectName(QStringLiteral("replayTrends"));
    connect(trendsButton, &QPushButton::clicked, this, &ReplayWindow::showTrends);
    row->addWidget(m_play);
    row->addWidget(m_speed);
    row->addWidget(m_position, 1);
    row->addWidget(trendsButton);
    static_cast<QVBoxLayout *>(layout())->addLayout(row);
}

QString ReplayWindow::statusText() const
{
    return tr("Replaying %1 — %2 of %3")
        .arg(m_fileName, QString::fromStdString(elapsedText(m_replay->position() / 1000)),
             QString::fromStdString(elapsedText(m_replay->durationMs() / 1000)));
}

void ReplayWindow::replayChanged()
{
    for (GaugeWidget *gauge : m_gauges)
        gauge->sync();
    const QString status = statusText();
    if (status != m_shownStatus) {
        m_shownStatus = status;
        m_status->setText(status);
    }
    m_play->setText(m_replay->playing() ? tr("Pause") : tr("Play"));
    m_speed->setCurrentIndex(m_speed->findData(m_replay->speed()));
    if (!m_position->isSliderDown())
        m_position->setValue(int(m_replay->position() / m_sliderStepMs));
    const double at = m_replay->startMs() + m_replay->position();
    m_readout->showAt(at);
    if (m_trends)
        m_trends->setCursorTime(at);
    emit positionChanged(at);
}

void ReplayWindow::sliderMoved(int step)
{
    m_replay->seek(double(step) * m_sliderStepMs);
}

TrendsWindow &ReplayWindow::trends()
{
    if (!m_trends) {
        m_trends = new TrendsWindow(this);
        m_trends->setWindowFlag(Qt::Window);
        m_trends->showRecording(m_replay->recording(), m_fileName);
        connect(m_trends, &TrendsWindow::timeClicked, this,
                [this](double utcMs) { m_replay->seek(utcMs - m_replay->startMs()); });
        m_trends->setCursorTime(m_replay->startMs() + m_replay->position());
    }
    return *m_trends;
}

void ReplayWindow::showTrends()
{
    TrendsWindow &window = trends();
    window.show();
    window.raise();
}

void ReplayWindow::closeEvent(QCloseEvent *event)
{
    m_replay->pause();
    if (m_trends)
        m_trends->close();
    event->accept();
}

} // namespace quelo
