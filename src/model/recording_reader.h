// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace quelo {

// One value of a recorded quantity: t in UTC milliseconds since 1970 (as a double, exact for
// any date of this era), v in the recorded unit.
struct TrendPoint
{
    double t = 0;
    double v = 0;
};

struct RecordedEvent
{
    double t = 0;
    std::string text;
};

// A recording read back: one series per quantity, holding only the rows where it had a value.
struct Recording
{
    std::vector<TrendPoint> rpm;
    std::vector<TrendPoint> advanceDeg;
    std::vector<TrendPoint> busVolts;
    std::vector<TrendPoint> propAngleDeg;
    std::vector<RecordedEvent> events;
};

struct RecordingRead
{
    Recording recording;
    std::string error; // empty when the whole text was read; else names the line at fault
};

// Reads the CSV text a recording holds (RFC 4180, CR LF or LF line ends, an optional UTF-8 byte
// order mark). The first wrong line stops the reading: a wrong header, a row without exactly
// seven fields, a time or number that does not read.
RecordingRead parseRecording(const std::string &text);

} // namespace quelo
