// SPDX-License-Identifier: GPL-3.0-or-later
#include "run_recording.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quelo {

namespace {

bool startsWith(const std::string &text, const char *prefix)
{
    return text.rfind(prefix, 0) == 0;
}

// "<key>=<value>" with a key of lower-case letters and underscores.
bool isParameterText(const std::string &text)
{
    const auto eq = text.find('=');
    if (eq == std::string::npos || eq == 0)
        return false;
    return std::all_of(text.begin(), text.begin() + long(eq),
                       [](char c) { return (c >= 'a' && c <= 'z') || c == '_'; });
}

// The status line's texts, each as the link writes it; a port number follows the prefixes.
struct StatusRow
{
    const char *text;
    bool prefix;
    RunEventKind kind;
};
constexpr StatusRow kStatusRows[] = {
    {"Connected Comm Port ", true, RunEventKind::LinkUp},
    {"Link lost on Comm Port ", true, RunEventKind::LinkLost},
    {"No answer from the module on Comm Port ", true, RunEventKind::NoAnswer},
    {"Valid comm port not found", false, RunEventKind::SearchEnded},
    {"Comm port: ", true, RunEventKind::Status},
    {"Waiting for connection - Port ", true, RunEventKind::Status},
};

} // namespace

RunEventKind eventKindOf(const std::string &text)
{
    for (const StatusRow &row : kStatusRows)
        if (row.prefix ? startsWith(text, row.text) : text == row.text)
            return row.kind;
    if (text == "stored")
        return RunEventKind::StoreConfirmed;
    if (markNumber(text))
        return RunEventKind::Mark;
    if (startsWith(text, "aircraft ") && text.size() > 9)
        return RunEventKind::Aircraft;
    if (isParameterText(text))
        return RunEventKind::ParameterReported;
    return RunEventKind::Unclassified;
}

std::string markText(int n)
{
    return "mark " + std::to_string(n);
}

std::string aircraftEventText(const std::string &name)
{
    return "aircraft " + name;
}

std::optional<int> markNumber(const std::string &text)
{
    if (!startsWith(text, "mark ") || text.size() == 5 || text.size() > 14)
        return std::nullopt;
    int n = 0;
    for (std::size_t i = 5; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        n = n * 10 + (text[i] - '0');
    }
    return n;
}

std::string oneDecimal(double value)
{
    // Integer arithmetic on tenths: no printf, so no locale can turn the point into a comma.
    const long long tenths = std::llround(value * 10.0);
    const long long magnitude = tenths < 0 ? -tenths : tenths;
    std::string text = tenths < 0 ? "-" : "";
    text += std::to_string(magnitude / 10);
    text += '.';
    text += char('0' + magnitude % 10);
    return text;
}

std::string csvField(const std::string &text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

const char *RunRecorder::header()
{
    return "time,elapsed_s,rpm,advance_deg,bus_volts,prop_angle_deg,event\r\n";
}

std::string RunRecorder::timeColumns(const Stamp &now) const
{
    const std::int64_t elapsedMs = std::max<std::int64_t>(0, now.steadyMs - m_start.steadyMs);
    char elapsed[32];
    std::snprintf(elapsed, sizeof elapsed, "%lld.%03d", static_cast<long long>(elapsedMs / 1000),
                  int(elapsedMs % 1000));
    return isoTime(now.utcMs, now.utcOffsetMinutes) + ',' + elapsed + ',';
}

std::string RunRecorder::telemetryRow(const TelemetryReport &report, const Stamp &now)
{
    if (report.rpm)
        m_latest.rpm = report.rpm;
    if (report.advanceDeg)
        m_latest.advanceDeg = report.advanceDeg;
    if (report.busVolts)
        m_latest.busVolts = report.busVolts;
    if (report.propAngleDeg)
        m_latest.propAngleDeg = report.propAngleDeg;

    std::string row = timeColumns(now);
    if (m_latest.rpm)
        row += std::to_string(std::llround(*m_latest.rpm));
    row += ',';
    for (const auto &value : {m_latest.advanceDeg, m_latest.busVolts, m_latest.propAngleDeg}) {
        if (value)
            row += oneDecimal(*value);
        row += ',';
    }
    row += "\r\n"; // the event column stays empty
    return row;
}

// The event column holds the event's text as the program has always written it, so every
// recording reads the same; eventKindOf reads the kind back from it.
std::string RunRecorder::eventRow(const RunEvent &event, const Stamp &now) const
{
    return timeColumns(now) + ",,,," + csvField(event.text) + "\r\n";
}

} // namespace quelo
