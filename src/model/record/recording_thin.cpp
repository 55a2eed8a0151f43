// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording_thin.h"

#include <algorithm>

namespace quelo {

namespace {

// Writes the lowest and the highest of points[from, to), in their order, at points[at] (at most
// `from`); returns how many were written.
std::size_t keepExtremes(std::vector<TrendPoint> &points, std::size_t from, std::size_t to,
                         std::size_t at)
{
    const auto first = points.begin() + std::ptrdiff_t(from);
    const auto last = points.begin() + std::ptrdiff_t(to);
    const auto [low, high] = std::minmax_element(
        first, last, [](const TrendPoint &a, const TrendPoint &b) { return a.v < b.v; });
    const TrendPoint earlier = low < high ? *low : *high;
    const TrendPoint later = low < high ? *high : *low;
    points[at] = earlier;
    if (low == high)
        return 1;
    points[at + 1] = later;
    return 2;
}

} // namespace

void thinSeries(std::vector<TrendPoint> &points, std::size_t maxPoints)
{
    const std::size_t runs = std::max<std::size_t>(maxPoints / 2, 1);
    if (points.size() <= maxPoints)
        return;
    std::vector<TrendPoint> kept;
    kept.reserve(2 * runs);
    const std::size_t n = points.size();
    for (std::size_t r = 0; r < runs; ++r) {
        const auto first = points.begin() + std::ptrdiff_t(r * n / runs);
        const auto last = points.begin() + std::ptrdiff_t((r + 1) * n / runs);
        if (first == last)
            continue;
        const auto [low, high] = std::minmax_element(
            first, last, [](const TrendPoint &a, const TrendPoint &b) { return a.v < b.v; });
        kept.push_back(low < high ? *low : *high);
        if (low != high)
            kept.push_back(low < high ? *high : *low);
    }
    points = std::move(kept);
}

Recording thinnedForDrawing(Recording recording, std::size_t maxPoints)
{
    for (auto *series :
         {&recording.rpm, &recording.advanceDeg, &recording.busVolts, &recording.propAngleDeg})
        thinSeries(*series, maxPoints);
    return recording;
}

void thinEvenly(std::vector<TrendPoint> &points, EvenThinning &state, std::size_t maxPoints)
{
    if (state.stride == 1) {
        state.settled = points.size();
    } else if (points.size() - state.settled >= state.stride) {
        state.settled += keepExtremes(points, state.settled, points.size(), state.settled);
        points.resize(state.settled);
    }
    if (state.settled <= 2 * std::max<std::size_t>(maxPoints, 2))
        return;
    // Groups of four points: two buckets of a stride above 1, or four points read.
    std::size_t kept = 0;
    std::size_t from = 0;
    for (; from + 4 <= state.settled; from += 4)
        kept += keepExtremes(points, from, from + 4, kept);
    const std::size_t settled = kept + (state.settled - from);
    for (; from < points.size(); ++from)
        points[kept++] = points[from];
    points.resize(kept);
    state.settled = settled;
    state.stride = state.stride == 1 ? 4 : 2 * state.stride;
}

} // namespace quelo
