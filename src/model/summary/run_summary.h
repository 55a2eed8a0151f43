// SPDX-License-Identifier: GPL-3.0-or-later
// model/summary/: the figures of a recorded run, of a span of it, and of two runs side by side.
#pragma once

#include "chart_marks.h"
#include "recording_reader.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quelo {

// The quantities a recording holds, in its column order.
enum class Quantity
{
    EngineSpeed,
    Advance,
    BusVolts,
    PropAngle
};
inline constexpr std::size_t kQuantityCount = 4;

const std::vector<TrendPoint> &seriesOf(const Recording &recording, Quantity quantity);

// One series over a span. min, max and mean are of the samples inside the span and mean
// nothing while count is 0. The time-weighted mean holds each sample until the next one (the
// sample before the span included, the last one until the span's end), leaving out the time the
// link was down, when nothing is known; over a span with no such time it is the plain mean.
struct SeriesFigures
{
    std::size_t count = 0;
    double min = 0;
    double max = 0;
    double mean = 0;
    std::optional<double> timeWeightedMean;
};

// The time a series spent above a limit the module held at the time, the link-down time left
// out. `recorded` is false when no report of the limit covers any of the span.
struct LimitFigures
{
    bool recorded = false;
    double secondsAbove = 0;
};

struct RunSummary
{
    TimeSpan span; // UTC ms
    double lengthS = 0;
    double linkDownS = 0;
    std::size_t marks = 0;
    std::array<SeriesFigures, kQuantityCount> series{};
    LimitFigures rpmLimit;     // engine speed above max_rpm_limit
    LimitFigures advanceLimit; // advance above max_advance_limit
};

// The run's first and last moments: its earliest and latest row of any kind; none for a
// recording without rows.
std::optional<TimeSpan> runSpan(const Recording &recording);

// The figures of `span` of a run whose chart items are `marks` (chartMarks of its events).
RunSummary summarize(const Recording &recording, const ChartMarks &marks, TimeSpan span);
// The figures of the whole run; a recording without rows gives an empty summary.
RunSummary summarize(const Recording &recording);

// The time (UTC ms) of the mark whose event text is `name` ("mark 2"; a bare "2" is taken as
// "mark 2"). Empty when the run has no such mark or has it twice (then `twice` is set).
std::optional<double> markTime(const Recording &recording, const std::string &name,
                               bool *twice = nullptr);

// The parameters in force at t: each reported parameter's last value at or before t, in the
// order they were first reported ("max_rpm_limit", "2816").
using Configuration = std::vector<std::pair<std::string, std::string>>;
Configuration configurationAt(const std::vector<RecordedEvent> &events, double t);
// What the module held when the run began: each parameter's first reported value.
Configuration startingConfiguration(const std::vector<RecordedEvent> &events);

} // namespace quelo
