// SPDX-License-Identifier: GPL-3.0-or-later
#include "live_trend_feed.h"

#include <QDateTime>

namespace quelo {

void LiveTrendFeed::telemetry(const TelemetryReport &report)
{
    m_trend.add(double(QDateTime::currentMSecsSinceEpoch()), report);
}

void LiveTrendFeed::event(const RunEvent &event)
{
    m_trend.addEvent(double(QDateTime::currentMSecsSinceEpoch()), event);
}

} // namespace quelo
