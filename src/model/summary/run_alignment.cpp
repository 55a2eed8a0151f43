// SPDX-License-Identifier: GPL-3.0-or-later
#include "run_alignment.h"

namespace quelo {

std::optional<double> anchorOf(const Recording &run, const std::string &mark)
{
    if (!mark.empty())
        return markTime(run, mark);
    const std::optional<TimeSpan> span = runSpan(run);
    return span ? std::optional<double>(span->from) : std::nullopt;
}

std::optional<RunAlignment> alignRuns(const Recording &a, const std::string &markA,
                                      const Recording &b, const std::string &markB)
{
    const std::optional<double> atA = anchorOf(a, markA), atB = anchorOf(b, markB);
    if (!atA || !atB)
        return std::nullopt;
    return RunAlignment{*atA - *atB};
}

Recording shiftedBy(Recording run, double offsetMs)
{
    for (auto *series : {&run.rpm, &run.advanceDeg, &run.busVolts, &run.propAngleDeg})
        for (TrendPoint &p : *series)
            p.t += offsetMs;
    for (RecordedEvent &e : run.events)
        e.t += offsetMs;
    return run;
}

} // namespace quelo
