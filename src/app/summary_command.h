// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "options.h"

namespace quelo {

// The points of each series a summary reads before thinning it, as Open recording does: a file
// of up to about a million rows is summarised exactly, a longer one from rows spread evenly.
inline constexpr std::size_t kSummaryPointLimit = 500000;

// --summary FILE.csv [--from MARK] [--to MARK] [--json] [--compare B.csv]: prints the figures
// on standard output and returns kExitDone. Needs no display and no port. A file that does not
// read as a recording, holds no telemetry rows, or lacks a mark named, a --from after the --to,
// or a file compared with itself is said on standard error (kExitUsage); a failed write to
// standard output is too (kExitLink).
int printSummary(const Options &options);

} // namespace quelo
