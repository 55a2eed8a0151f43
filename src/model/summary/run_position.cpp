// SPDX-License-Identifier: GPL-3.0-or-later
#include "run_position.h"

#include <algorithm>

namespace quelo {

namespace {

// A mark closer than this to the position is the one it stands on.
constexpr double kSameMomentMs = 1;

} // namespace

std::vector<double> markTimes(const Recording &run)
{
    std::vector<double> times;
    for (const RecordedEvent &e : run.events)
        if (e.kind == RunEventKind::Mark)
            times.push_back(e.t);
    return times;
}

RunPosition positionIn(const Recording &run, const std::vector<double> &marks, double t)
{
    RunPosition p;
    for (std::size_t q = 0; q < kQuantityCount; ++q)
        if (const auto sample = sampleAtOrBefore(seriesOf(run, Quantity(q)), t))
            p.values[q] = sample->v;
    const auto before = std::lower_bound(marks.begin(), marks.end(), t - kSameMomentMs);
    if (before != marks.begin())
        p.previousMark = *(before - 1);
    const auto after = std::upper_bound(marks.begin(), marks.end(), t + kSameMomentMs);
    if (after != marks.end())
        p.nextMark = *after;
    return p;
}

ConfigurationTrack::ConfigurationTrack(const std::vector<RecordedEvent> &events)
{
    std::copy_if(events.begin(), events.end(), std::back_inserter(m_reports),
                 [](const RecordedEvent &e) { return e.kind == RunEventKind::ParameterReported; });
}

const Configuration &ConfigurationTrack::at(double t)
{
    const auto passed =
        std::size_t(std::upper_bound(m_reports.begin(), m_reports.end(), t,
                                     [](double at, const RecordedEvent &e) { return at < e.t; }) -
                    m_reports.begin());
    if (passed != m_passed) {
        m_passed = passed;
        m_config = configurationAt(
            std::vector<RecordedEvent>(m_reports.begin(), m_reports.begin() + long(passed)), t);
    }
    return m_config;
}

} // namespace quelo
