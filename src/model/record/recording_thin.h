// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "recording_reader.h"

#include <cstddef>

namespace quelo {

// A chart is a thousand or so pixels wide: more points than that only cost memory and time.
// A series longer than `maxPoints` is cut into maxPoints / 2 runs of neighbouring points, and
// of each run only its lowest and its highest point are kept, in their order. Every point kept
// is one the file holds, and every peak and dip still shows. Events are kept whole.
inline constexpr std::size_t kMaxDrawnPoints = 4000;
Recording thinnedForDrawing(Recording recording, std::size_t maxPoints = kMaxDrawnPoints);
// The same for one series.
void thinSeries(std::vector<TrendPoint> &points, std::size_t maxPoints);

// Keeps a series that grows a point at a time within about 2 * maxPoints, each kept point
// standing for as many points read as any other, however long the series grows. The points are
// taken in buckets of `stride`: of a full bucket only its lowest and highest stay. When the
// buckets hold more than 2 * maxPoints points, each two neighbouring buckets become one (the
// lowest and highest of their four points) and the stride doubles. Every point kept is one the
// series held, in its order. (EvenThinning is in recording_reader.h.)
void thinEvenly(std::vector<TrendPoint> &points, EvenThinning &state, std::size_t maxPoints);

} // namespace quelo
