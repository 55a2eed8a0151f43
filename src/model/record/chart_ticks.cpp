// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart_ticks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quelo {

namespace {

constexpr double kDayMs = 24 * 3600 * 1000.0;

// The smallest step 1, 2 or 5 x 10^k that is at least `least`.
double niceStepAtLeast(double least)
{
    const double power = std::pow(10.0, std::floor(std::log10(least)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * power >= least * (1 - 1e-9))
            return m * power;
    return 10 * power;
}

int decimalsFor(double step)
{
    return step >= 1 ? 0 : int(std::ceil(-std::log10(step) - 1e-9));
}

std::string fixed(double v, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    std::string s = text;
    // "12.0" on a half-unit step reads as "12": the decimal says nothing there.
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.')
            s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

std::string twoDigits(long long v)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02lld", v);
    return text;
}

} // namespace

std::vector<AxisTick> valueTicks(double lo, double hi, int maxCount, double minStep)
{
    std::vector<AxisTick> ticks;
    if (!(hi > lo) || maxCount < 2 || !(minStep > 0) || !std::isfinite(hi - lo))
        return ticks;
    double step = niceStepAtLeast(std::max(minStep, (hi - lo) / (maxCount - 1)));
    // The rounding of the first multiple can add one tick: take the next step then.
    while (std::floor(hi / step) - std::ceil(lo / step) + 1 > maxCount)
        step = niceStepAtLeast(step * 1.5);
    const int decimals = decimalsFor(step);
    for (double k = std::ceil(lo / step - 1e-9); k * step <= hi + step * 1e-9; ++k)
        ticks.push_back({k * step, fixed(k * step, decimals)});
    return ticks;
}

std::string elapsedText(double seconds)
{
    const long long whole = std::llround(std::floor(std::max(0.0, seconds) + 1e-6));
    const long long h = whole / 3600, m = whole / 60 % 60, s = whole % 60;
    if (h > 0)
        return std::to_string(h) + ":" + twoDigits(m) + ":" + twoDigits(s);
    return twoDigits(m) + ":" + twoDigits(s);
}

std::string timeOfDayText(double utcMs, int utcOffsetMinutes)
{
    double local = std::fmod(utcMs + utcOffsetMinutes * 60000.0, kDayMs);
    if (local < 0)
        local += kDayMs;
    const long long whole = std::llround(std::floor(local / 1000 + 1e-6));
    return twoDigits(whole / 3600 % 24) + ":" + twoDigits(whole / 60 % 60) + ":" +
           twoDigits(whole % 60);
}

std::vector<AxisTick> timeTicks(double firstMs, double lastMs, int maxCount,
                                const TimeAxisFrame &frame)
{
    static const double kStepsS[] = {1,   2,   5,    10,   15,   30,    60,    120,   300,
                                     600, 900, 1800, 3600, 7200, 10800, 21600, 43200, 86400};
    std::vector<AxisTick> ticks;
    if (!(lastMs > firstMs) || maxCount < 2 || !std::isfinite(lastMs - firstMs))
        return ticks;
    double stepMs = kStepsS[std::size(kStepsS) - 1] * 1000;
    for (double s : kStepsS) {
        if ((lastMs - firstMs) / (s * 1000) + 1 <= maxCount) {
            stepMs = s * 1000;
            break;
        }
    }
    // Ticks sit on whole multiples of the step, counted in local time or from the origin.
    const bool elapsed = frame.labels == TimeLabels::Elapsed;
    const double zero = elapsed ? frame.originMs : -frame.utcOffsetMinutes * 60000.0;
    const bool longRun = lastMs - frame.originMs >= 3600 * 1000.0;
    for (double k = std::ceil((firstMs - zero) / stepMs - 1e-9); zero + k * stepMs <= lastMs; ++k) {
        const double at = zero + k * stepMs;
        std::string label;
        if (elapsed && at < frame.originMs)
            continue; // before the run there is no elapsed time to tell
        if (elapsed) {
            label = elapsedText((at - frame.originMs) / 1000);
            if (longRun && label.size() == 5)
                label = "0:" + label;
        } else {
            label = timeOfDayText(at, frame.utcOffsetMinutes);
            if (stepMs >= 60000)
                label.resize(5);
        }
        ticks.push_back({at, label});
    }
    return ticks;
}

} // namespace quelo
