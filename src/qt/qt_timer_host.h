// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "timer.h"

#include <QObject>
#include <unordered_map>

class QTimer;

namespace quelo {

// Runs the window's timers on QTimers of the event loop.
class QtTimerHost : public QObject, public TimerHost
{
    Q_OBJECT

public:
    explicit QtTimerHost(QObject *parent = nullptr) : QObject(parent) {}

    void timerEnabledChanged(Timer &timer) override;

private:
    std::unordered_map<Timer *, QTimer *> m_timers;
};

} // namespace quelo
