// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "live_trend.h"
#include "run_observer.h"

namespace quelo {

// Keeps the live trend while no trends window exists: reports and events stamped with the
// system clock. Costs a deque append per report.
class LiveTrendFeed final : public RunObserver
{
public:
    void telemetry(const TelemetryReport &report) override;
    void event(const RunEvent &event) override;
    LiveTrend &trend() { return m_trend; }

private:
    LiveTrend m_trend;
};

} // namespace quelo
