// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording_thin.h"

#include <algorithm>

namespace quelo {

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

} // namespace quelo
