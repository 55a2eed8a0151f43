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

} // namespace quelo
