// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "recording_reader.h"
#include "run_recording.h"

#include <optional>
#include <string>
#include <vector>

namespace quelo {

struct ChartEvent
{
    double t = 0;
    RunEventKind kind = RunEventKind::Unclassified;
    std::string label; // short text drawn beside the event's line
};

// A stretch of time, [from, to] in UTC ms.
struct TimeSpan
{
    double from = 0;
    double to = 0;
};

// A limit the module held over a stretch of time.
struct LimitStretch
{
    double from = 0;
    double to = 0;
    double value = 0;
};

// The chart's items besides the traces: every event as a line, the stretches without a working
// link shaded, and the module's max rpm and max advance limits over time.
struct ChartMarks
{
    std::vector<ChartEvent> events; // in time order; marks included
    // From an event that says the link is not working (lost, silent, searching, search ended)
    // to the next link up; no other kind opens or closes one.
    std::vector<TimeSpan> linkDown;
    std::vector<LimitStretch> rpmLimit;
    std::vector<LimitStretch> advanceLimit;

    std::vector<ChartEvent> marks() const;
};

// The chart items of a run whose events are `events` (in time order) and whose last moment is
// endMs: a stretch still open at the end runs to endMs.
ChartMarks chartMarks(const std::vector<RecordedEvent> &events, double endMs);

// An event as the chart draws it: its kind and a short label.
ChartEvent chartEvent(const RecordedEvent &event);

// The sample of `series` (in time order) nearest to t, if there is any.
std::optional<TrendPoint> nearestSample(const std::vector<TrendPoint> &series, double t);
// The last sample at or before t, if there is any.
std::optional<TrendPoint> sampleAtOrBefore(const std::vector<TrendPoint> &series, double t);

} // namespace quelo
