// SPDX-License-Identifier: GPL-3.0-or-later
// Recordings: a run's rows, reading them back, the live trend, chart marks and the replay.
#pragma once

#include "run_observer.h"
#include "stamp.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quelo {

// The event column's table: what kind of event a recorded text is. Every text the program writes
// reads back as the kind it was written with; a text no row knows is Unclassified.
RunEventKind eventKindOf(const std::string &text);
// The text of mark n, as the recording writes it ("mark 3").
std::string markText(int n);
// The text of the event that names the run's aircraft ("aircraft N123AB").
std::string aircraftEventText(const std::string &name);
// The number of the mark an event text names ("mark 3" -> 3), if it is one.
std::optional<int> markNumber(const std::string &text);

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
    std::string eventRow(const RunEvent &event, const Stamp &now) const;

private:
    std::string timeColumns(const Stamp &now) const;

    Stamp m_start;
    TelemetryReport m_latest;
};

} // namespace quelo
