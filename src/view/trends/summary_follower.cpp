// SPDX-License-Identifier: GPL-3.0-or-later
#include "summary_follower.h"

#include "run_comparison.h"
#include "summary_panel.h"

#include <algorithm>

namespace quelo {

namespace {

// The part of `wanted` inside the run; `whole` when it takes in all of the run.
TimeSpan clipped(const Recording &run, TimeSpan wanted, bool &whole)
{
    const TimeSpan all = runSpan(run).value_or(TimeSpan{});
    whole = wanted.from <= all.from && wanted.to >= all.to;
    const double from = std::clamp(wanted.from, all.from, all.to);
    return TimeSpan{from, std::clamp(wanted.to, from, all.to)};
}

SummaryReport reportOf(const Recording &run, const ChartMarks &marks, TimeSpan span,
                       const QString &name, bool whole)
{
    return {name.toStdString(), whole ? "whole run" : "visible range",
            startingConfiguration(run.events), summaryFigures(summarize(run, marks, span))};
}

} // namespace

void SummaryFollower::follow(const Recording &run, const ChartMarks &marks, const QString &name,
                             TimeSpan visible)
{
    bool whole = false;
    const TimeSpan span = clipped(run, visible, whole);
    const SummaryReport a = reportOf(run, marks, span, name, whole);
    if (!m_comparison.active())
        return m_panel.showRun(a);
    const Recording &b = m_comparison.run();
    bool wholeB = false;
    const TimeSpan spanB = clipped(b, m_comparison.alignment().toB(visible), wholeB);
    m_panel.showComparison(a,
                           reportOf(b, m_comparison.marks(), spanB, m_comparison.name(), wholeB));
}

QStringList markNames(const ChartMarks &marks)
{
    QStringList names;
    for (const ChartEvent &mark : marks.marks())
        names << QString::fromStdString(mark.label);
    return names;
}

} // namespace quelo
