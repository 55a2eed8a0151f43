// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "recording_reader.h"

#include <optional>
#include <string>
#include <vector>

namespace quelo {

// What an event row of a recording is.
enum class ChartEventKind
{
    Status,    // a new status-line text
    Parameter, // "<parameter key>=<value>": the module reported a new value
    Stored,    // the module confirmed a store
    Mark       // "mark N": the user marked the moment
};

struct ChartEvent
{
    double t = 0;
    ChartEventKind kind = ChartEventKind::Status;
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
    std::vector<TimeSpan> linkDown; // from a status other than "Connected …" to the next one
    std::vector<LimitStretch> rpmLimit;
    std::vector<LimitStretch> advanceLimit;

    std::vector<ChartEvent> marks() const;
};

// The chart items of a run whose events are `events` (in time order) and whose last moment is
// endMs: a stretch still open at the end runs to endMs.
ChartMarks chartMarks(const std::vector<RecordedEvent> &events, double endMs);

// What an event's text is, and its short label.
ChartEvent chartEvent(const RecordedEvent &event);

// The number of the mark an event text names ("mark 3" -> 3), if it is one.
std::optional<int> markNumber(const std::string &text);
// The text of mark n, as the recording writes it.
std::string markText(int n);

// The sample of `series` (in time order) nearest to t, if there is any.
std::optional<TrendPoint> nearestSample(const std::vector<TrendPoint> &series, double t);
// The last sample at or before t, if there is any.
std::optional<TrendPoint> sampleAtOrBefore(const std::vector<TrendPoint> &series, double t);

} // namespace quelo
