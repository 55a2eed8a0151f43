// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "timer.h"

#include <QElapsedTimer>
#include <QObject>
#include <unordered_map>

class QTimer;

namespace quelo {

// Runs the window's timers on QTimers of the event loop. A sleeping timer's QTimer is stopped;
// on waking, its first tick comes at the next point of the grid it kept while running.
class QtTimerHost : public QObject, public TimerHost
{
    Q_OBJECT

public:
    explicit QtTimerHost(QObject *parent = nullptr);

    void timerEnabledChanged(Timer &timer) override;
    void timerSleepChanged(Timer &timer) override;

    // Whether the timer's QTimer is running, i.e. whether it wakes the program.
    bool isTicking(const Timer &timer) const;

private:
    struct Entry
    {
        QTimer *qtimer = nullptr;
        qint64 nextDueMs = 0; // on m_clock
    };
    Entry &entry(Timer &timer);
    void ticked(Timer &timer);

    QElapsedTimer m_clock;
    std::unordered_map<const Timer *, Entry> m_timers;
};

} // namespace quelo
