// SPDX-License-Identifier: GPL-3.0-or-later
#include "run_observer.h"

#include <algorithm>

namespace quelo {

bool isStatusLine(RunEventKind kind)
{
    switch (kind) {
    case RunEventKind::LinkUp:
    case RunEventKind::LinkLost:
    case RunEventKind::NoAnswer:
    case RunEventKind::SearchEnded:
    case RunEventKind::Status:
        return true;
    default:
        return false;
    }
}

void RunObservers::add(RunObserver *observer)
{
    if (observer &&
        std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
        m_observers.push_back(observer);
}

void RunObservers::remove(RunObserver *observer)
{
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), observer),
                      m_observers.end());
}

void RunObservers::telemetry(const TelemetryReport &report)
{
    for (RunObserver *o : m_observers)
        o->telemetry(report);
}

void RunObservers::event(const RunEvent &event)
{
    for (RunObserver *o : m_observers)
        o->event(event);
}

} // namespace quelo
