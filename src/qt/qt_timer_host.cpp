// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt_timer_host.h"

#include <QTimer>

namespace quelo {

void QtTimerHost::timerEnabledChanged(Timer &timer)
{
    QTimer *&qtimer = m_timers[&timer];
    if (!qtimer) {
        qtimer = new QTimer(this);
        qtimer->setTimerType(Qt::PreciseTimer);
        connect(qtimer, &QTimer::timeout, this, [&timer] { timer.tick(); });
    }
    if (timer.Enabled()) {
        qtimer->setInterval(timer.Interval());
        qtimer->start();
    } else {
        qtimer->stop();
    }
}

} // namespace quelo
