// SPDX-License-Identifier: GPL-3.0-or-later
// view/replay/: replay windows and the opening of a recording for replay.
#pragma once

#include "qt_timer_host.h"
#include "replay.h"

#include <QElapsedTimer>
#include <QString>
#include <QWidget>

#include <array>
#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
class QSlider;

namespace quelo {

class GaugeWidget;
class ReplayReadout;
class TrendsWindow;

// A window that plays a recorded run back on the four gauges (the main window's gauge widgets
// and needle animation) with each one's value under it, the status line "Replaying <file> — 01:23
// of 10:00", play/pause, a speed of 1x, 4x or 16x, a position slider, and a Trends button that
// charts the run with its cursor following the replay (a click on the chart moves the replay
// there), the marks either side with keys to jump to them, and the configuration in force. Owns no
// serial port and touches none.
class ReplayWindow final : public QWidget
{
    Q_OBJECT

public:
    ReplayWindow(Recording recording, const QString &fileName, QWidget *parent = nullptr);
    ~ReplayWindow() override;

    Replay &replay() { return *m_replay; }
    QString statusText() const;
    // The trends window of the run, created on first use.
    TrendsWindow &trends();
    void showTrends();

signals:
    // The replay's position moved (UTC ms of the recording).
    void positionChanged(double utcMs);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildGauges();
    void buildControls();
    void replayChanged();
    void sliderMoved(int step);

    QString m_fileName;
    QtTimerHost m_timers;
    QElapsedTimer m_clock;
    std::unique_ptr<Replay> m_replay;
    std::array<GaugeWidget *, 4> m_gauges{};
    QLabel *m_status = nullptr;
    QPushButton *m_play = nullptr;
    QComboBox *m_speed = nullptr;
    QSlider *m_position = nullptr;
    double m_sliderStepMs = 100;
    TrendsWindow *m_trends = nullptr;
    ReplayReadout *m_readout = nullptr;
    QString m_shownStatus;
};

} // namespace quelo
