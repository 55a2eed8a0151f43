// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart_marks.h"
#include "run_summary.h"

#include <QStringList>

namespace quelo {

class RunComparison;
class SummaryPanel;

// Keeps the summary panel on what the chart shows: the figures of the visible range of the run
// shown (of the whole run when all of it shows), and while a second run is compared, those of
// the stretch of it the alignment lays under that range.
class SummaryFollower
{
public:
    SummaryFollower(SummaryPanel &panel, const RunComparison &comparison)
        : m_panel(panel), m_comparison(comparison)
    {
    }

    void follow(const Recording &run, const ChartMarks &marks, const QString &name,
                TimeSpan visible);

private:
    SummaryPanel &m_panel;
    const RunComparison &m_comparison;
};

// The names of a run's marks, for the lists that choose where to align.
QStringList markNames(const ChartMarks &marks);

} // namespace quelo
