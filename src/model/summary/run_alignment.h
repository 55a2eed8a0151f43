// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "run_summary.h"

#include <optional>
#include <string>

namespace quelo {

// Two runs laid over each other: a moment of the second run (B) is drawn at the moment of the
// first (A) that lies `offsetMs` later, so that A's anchor and B's anchor meet. An anchor is a
// run's start or one of its marks.
struct RunAlignment
{
    double offsetMs = 0;
    double toA(double bMs) const { return bMs + offsetMs; }
    TimeSpan toB(TimeSpan aSpan) const { return {aSpan.from - offsetMs, aSpan.to - offsetMs}; }
};

// The moment a run is aligned at: its start when `mark` is empty, else that mark's time; none
// when the run has no rows or not exactly one such mark.
std::optional<double> anchorOf(const Recording &run, const std::string &mark);

// A aligned at anchor `markA`, B at `markB`; none when either anchor is missing.
std::optional<RunAlignment> alignRuns(const Recording &a, const std::string &markA,
                                      const Recording &b, const std::string &markB);

// The run with every moment moved by offsetMs (B drawn on A's time axis).
Recording shiftedBy(Recording run, double offsetMs);

} // namespace quelo
