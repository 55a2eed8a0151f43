// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt_timer_host.h"

#include <QTimer>

namespace quelo {

QtTimerHost::QtTimerHost(QObject *parent) : QObject(parent)
{
    m_clock.start();
}

QtTimerHost::Entry &QtTimerHost::entry(Timer &timer)
{
    Entry &e = m_timers[&timer];
    if (!e.qtimer) {
        e.qtimer = new QTimer(this);
        e.qtimer->setTimerType(Qt::PreciseTimer);
        connect(e.qtimer, &QTimer::timeout, this, [this, &timer] { ticked(timer); });
    }
    return e;
}

void QtTimerHost::ticked(Timer &timer)
{
    Entry &e = m_timers[&timer];
    e.nextDueMs = m_clock.elapsed() + timer.Interval();
    // A first tick after waking ran on a shortened interval: back to the timer's own.
    if (e.qtimer->interval() != timer.Interval())
        e.qtimer->start(timer.Interval());
    timer.tick();
}

void QtTimerHost::timerEnabledChanged(Timer &timer)
{
    Entry &e = entry(timer);
    e.nextDueMs = m_clock.elapsed() + timer.Interval();
    if (timer.due())
        e.qtimer->start(timer.Interval());
    else
        e.qtimer->stop();
}

void QtTimerHost::timerSleepChanged(Timer &timer)
{
    Entry &e = entry(timer);
    if (!timer.due()) {
        e.qtimer->stop();
        return;
    }
    const qint64 now = m_clock.elapsed();
    const qint64 interval = timer.Interval();
    if (e.nextDueMs < now)
        e.nextDueMs += (now - e.nextDueMs + interval - 1) / interval * interval;
    e.qtimer->start(static_cast<int>(e.nextDueMs - now));
}

bool QtTimerHost::isTicking(const Timer &timer) const
{
    const auto it = m_timers.find(&timer);
    return it != m_timers.end() && it->second.qtimer->isActive();
}

} // namespace quelo
