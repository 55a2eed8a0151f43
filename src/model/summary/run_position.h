// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "run_summary.h"

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

namespace quelo {

// What a run showed at a moment: each quantity's last recorded value at or before it, and the
// marks on either side (UTC ms).
struct RunPosition
{
    std::array<std::optional<double>, kQuantityCount> values{};
    std::optional<double> previousMark; // the last mark more than a millisecond before
    std::optional<double> nextMark;     // the first mark more than a millisecond after
};

// The times of a run's marks, in order.
std::vector<double> markTimes(const Recording &run);
// A binary search in each series and in `marks` (markTimes of the run).
RunPosition positionIn(const Recording &run, const std::vector<double> &marks, double t);

// The configuration in force as a position moves through a run: worked out again only when a
// reported value has been passed, so that a replay's every row costs a binary search.
class ConfigurationTrack
{
public:
    explicit ConfigurationTrack(const std::vector<RecordedEvent> &events);
    const Configuration &at(double t);

private:
    std::vector<RecordedEvent> m_reports; // the parameter reports, in time order
    std::size_t m_passed = static_cast<std::size_t>(-1);
    Configuration m_config;
};

} // namespace quelo
