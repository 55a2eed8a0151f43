// SPDX-License-Identifier: GPL-3.0-or-later
#include "live_trend.h"

#include <algorithm>
#include <cmath>

namespace quelo {

void LiveTrend::add(double t, const TelemetryReport &report)
{
    const std::optional<double> values[kTrendCount] = {report.rpm, report.advanceDeg,
                                                       report.busVolts};
    m_newest = std::max(m_newest, t);
    if (m_origin == 0)
        m_origin = t;
    for (std::size_t i = 0; i < kTrendCount; ++i) {
        Series &s = m_series[i];
        if (values[i])
            keep(s, t, *values[i]);
        dropOld(s);
    }
    dropOldEvents();
}

void LiveTrend::keep(Series &s, double t, double v) const
{
    // Once the series is half full, a point closer to the last one kept than the chart can show
    // is passed over, so that a flood cannot crowd the span out.
    const bool crowded = s.points.size() >= kMaxPoints / 2;
    if (crowded && std::abs(t - s.points.back().t) < m_spanMs / double(kMaxPoints))
        return;
    s.points.push_back({t, v});
    ++s.unsent;
}

void LiveTrend::addEvent(double t, const RunEvent &event)
{
    m_newest = std::max(m_newest, t);
    if (m_origin == 0)
        m_origin = t;
    m_events.push_back({t, event.kind, event.text});
    m_newEvents = true;
    dropOldEvents();
}

void LiveTrend::dropOldEvents()
{
    while (!m_events.empty() &&
           (m_events.front().t < m_newest - m_spanMs || m_events.size() > kMaxEvents))
        m_events.pop_front();
}

std::vector<RecordedEvent> LiveTrend::takeEvents()
{
    m_newEvents = false;
    return {m_events.begin(), m_events.end()};
}

void LiveTrend::dropOld(Series &s)
{
    const double oldest = m_newest - m_spanMs;
    while (!s.points.empty() && (s.points.front().t < oldest || s.points.size() > kMaxPoints)) {
        if (s.points.size() > s.unsent)
            ++s.sentDropped;
        else
            --s.unsent; // never taken: the chart need not hear of it
        s.points.pop_front();
    }
}

LiveTrend::Changes LiveTrend::takeChanges(Trend which)
{
    Series &s = m_series[std::size_t(which)];
    Changes changes;
    changes.dropFront = s.sentDropped;
    changes.append.assign(s.points.end() - std::ptrdiff_t(s.unsent), s.points.end());
    s.sentDropped = 0;
    s.unsent = 0;
    return changes;
}

std::vector<TrendPoint> LiveTrend::takeAll(Trend which)
{
    Series &s = m_series[std::size_t(which)];
    s.sentDropped = 0;
    s.unsent = 0;
    return {s.points.begin(), s.points.end()};
}

void LiveTrend::clear()
{
    m_series = {};
    m_events.clear();
    m_newEvents = false;
    m_newest = 0;
    m_origin = 0;
}

bool LiveTrend::hasChanges() const
{
    return m_newEvents || std::any_of(m_series.begin(), m_series.end(), [](const Series &s) {
               return s.unsent != 0 || s.sentDropped != 0;
           });
}

} // namespace quelo
