// SPDX-License-Identifier: GPL-3.0-or-later
// Recordings: a run's rows, reading them back, the live trend, chart marks and the replay.
#pragma once

#include "run_observer.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quelo {

// Passes every report on to each observer added, in the order they were added. Observers are
// not owned and must outlive their membership.
class RunObservers final : public RunObserver
{
public:
    void add(RunObserver *observer);
    void remove(RunObserver *observer);
    void telemetry(const TelemetryReport &report) override;
    void event(const std::string &text) override;

private:
    std::vector<RunObserver *> m_observers;
};

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
// One decimal with a point, whatever the locale: 19.6, 12.5, -0.5.
std::string oneDecimal(double value);
// An RFC 4180 field: quoted when it holds a comma, a quote, CR or LF; quotes doubled.
std::string csvField(const std::string &text);

// Turns reports into the rows of a recording, one CSV line each ending in CR LF. Keeps the latest
// value of each of the four quantities, so every telemetry row carries all four; a quantity not
// reported yet stays empty. Pure: the caller supplies the time and writes the text.
class RunRecorder
{
public:
    static const char *header(); // the header line, CR LF included

    explicit RunRecorder(const Stamp &start) : m_start(start) {}

    std::string telemetryRow(const TelemetryReport &report, const Stamp &now);
    std::string eventRow(const std::string &text, const Stamp &now) const;

private:
    std::string timeColumns(const Stamp &now) const;

    Stamp m_start;
    TelemetryReport m_latest;
};

} // namespace quelo
