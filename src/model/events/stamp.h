// SPDX-License-Identifier: GPL-3.0-or-later
// Moments: a clock's reading and the ISO 8601 text recordings and the history write it as.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quelo {

// A moment as the caller's clock gives it: wall-clock milliseconds since 1970-01-01 UTC with the
// local offset at that moment, and a steady millisecond count that never jumps (elapsed times
// come from it, so a clock adjustment during a run does not bend them).
struct Stamp
{
    std::int64_t utcMs = 0;
    int utcOffsetMinutes = 0;
    std::int64_t steadyMs = 0;
};

// "2024-05-01T14:03:07.123+02:00": local time with milliseconds and the offset.
std::string isoTime(std::int64_t utcMs, int utcOffsetMinutes);
// Reads what isoTime writes (an offset "Z" is accepted too) back into UTC milliseconds.
std::optional<std::int64_t> parseIsoTime(const std::string &text);

} // namespace quelo
