// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace quelo {

// One labelled tick of a chart axis.
struct AxisTick
{
    double at = 0;
    std::string label;
};

// Ticks for a value axis over [lo, hi]: the step is 1, 2 or 5 times a power of ten, at least
// minStep, chosen to give at most maxCount ticks; ticks sit on whole multiples of the step.
// Labels carry only the decimals the step needs ("3500", "12.5", "12"), so no two repeat.
std::vector<AxisTick> valueTicks(double lo, double hi, int maxCount, double minStep);

// How a time axis is labelled: the time of day, or the time since the run's start ("mm:ss").
enum class TimeLabels
{
    WallClock,
    Elapsed
};

struct TimeAxisFrame
{
    TimeLabels labels = TimeLabels::WallClock;
    double originMs = 0;      // the run's start, for elapsed labels (UTC ms)
    int utcOffsetMinutes = 0; // local time's offset, for time-of-day labels
};

// Ticks for a time axis over [firstMs, lastMs] (UTC ms): steps of whole seconds or minutes (1,
// 2, 5, 10, 15, 30 s, 1, 2, 5, 10, 15, 30 min, 1, 2, 3, 6, 12 h), at most maxCount ticks, on
// whole multiples of the step in local time or since the origin. Labels: "HH:mm:ss" (or
// "HH:mm" for steps of a minute or more) of local time; "mm:ss" (or "h:mm:ss" past an hour)
// since the origin.
std::vector<AxisTick> timeTicks(double firstMs, double lastMs, int maxCount,
                                const TimeAxisFrame &frame);

// "01:23" for 83 s, "1:02:03" for 3723 s: the elapsed-time form the chart and the replay use.
std::string elapsedText(double seconds);
// "14:03:07" of the local time at utcMs.
std::string timeOfDayText(double utcMs, int utcOffsetMinutes);

} // namespace quelo
