// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording_reader.h"

#include "run_recording.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace quelo {

namespace {

constexpr std::size_t kColumns = 7;
const char *const kColumnNames[kColumns] = {"time",      "elapsed_s",      "rpm",  "advance_deg",
                                            "bus_volts", "prop_angle_deg", "event"};

// Walks the text record by record, counting physical lines so that messages can name them.
class CsvCursor
{
public:
    explicit CsvCursor(const std::string &text) : m_text(text)
    {
        if (m_text.compare(0, 3, "\xEF\xBB\xBF") == 0)
            m_pos = 3;
    }

    bool atEnd() const { return m_pos >= m_text.size(); }
    bool lastEnded() const { return m_ended; } // the record read last ended in a line end
    int line() const { return m_line; }

    // Reads one record into fields; false when a quoted field is not closed.
    bool next(std::vector<std::string> &fields)
    {
        fields.assign(1, std::string());
        m_ended = false;
        bool quoted = false;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos++];
            if (quoted) {
                if (c == '"' && m_pos < m_text.size() && m_text[m_pos] == '"') {
                    fields.back() += '"';
                    ++m_pos;
                } else if (c == '"') {
                    quoted = false;
                } else {
                    m_line += c == '\n' ? 1 : 0;
                    fields.back() += c;
                }
            } else if (c == '"') {
                quoted = true;
            } else if (c == ',') {
                fields.emplace_back();
            } else if (c == '\n') {
                ++m_line;
                m_ended = true;
                return true;
            } else if (c != '\r') {
                fields.back() += c;
            }
        }
        return !quoted;
    }

private:
    const std::string &m_text;
    std::size_t m_pos = 0;
    int m_line = 1;
    bool m_ended = false;
};

bool readNumber(const std::string &field, double &value)
{
    if (field.empty())
        return false;
    // strtod follows the C locale's decimal point; recordings always use a point, so check that
    // the whole field was consumed and refuse a comma outright.
    if (field.find(',') != std::string::npos)
        return false;
    char *end = nullptr;
    errno = 0;
    value = std::strtod(field.c_str(), &end);
    return errno == 0 && end == field.c_str() + field.size() && std::isfinite(value);
}

std::string lineText(int line)
{
    return "line " + std::to_string(line) + ": ";
}

// Reads one data row into the recording; returns the reason when it is malformed.
std::string takeRow(const std::vector<std::string> &f, Recording &r)
{
    const auto time = parseIsoTime(f[0]);
    if (!time)
        return "\"" + f[0] + "\" in column time is not a time";
    const double t = double(*time);
    double value = 0;
    if (!readNumber(f[1], value))
        return "\"" + f[1] + "\" in column elapsed_s is not a number";
    std::vector<TrendPoint> *series[] = {&r.rpm, &r.advanceDeg, &r.busVolts, &r.propAngleDeg};
    for (std::size_t i = 0; i < 4; ++i) {
        if (f[2 + i].empty())
            continue;
        if (!readNumber(f[2 + i], value))
            return "\"" + f[2 + i] + "\" in column " + kColumnNames[2 + i] + " is not a number";
        series[i]->push_back({t, value});
    }
    if (!f[6].empty())
        r.events.push_back({t, f[6]});
    return {};
}

RecordingRead readRows(const std::string &text)
{
    RecordingRead result;
    CsvCursor cursor(text);
    std::vector<std::string> fields;
    const std::string header = "time,elapsed_s,rpm,advance_deg,bus_volts,prop_angle_deg,event";
    std::string headerLine;
    const bool closed = cursor.next(fields);
    for (std::size_t i = 0; i < fields.size(); ++i)
        headerLine += (i ? "," : "") + fields[i];
    if (!closed || headerLine != header) {
        result.error = lineText(1) + "not a recording: the header should read " + header;
        return result;
    }
    while (!cursor.atEnd()) {
        const int line = cursor.line();
        const bool closed = cursor.next(fields);
        Recording probe;
        if (!cursor.lastEnded() &&
            (!closed || fields.size() != kColumns || !takeRow(fields, probe).empty()))
            break; // the last row, cut short when the recording ended (a crash, a full disk)
        if (fields.size() == 1 && fields[0].empty())
            continue; // a blank line
        if (fields.size() != kColumns) {
            result.error =
                lineText(line) + "expected 7 fields, found " + std::to_string(fields.size());
            return result;
        }
        const std::string reason = takeRow(fields, result.recording);
        if (!reason.empty()) {
            result.error = lineText(line) + reason;
            return result;
        }
    }
    return result;
}

} // namespace

RecordingRead parseRecording(const std::string &text)
{
    RecordingRead result = readRows(text);
    if (!result.error.empty())
        result.recording = Recording(); // a malformed file shows nothing rather than a part
    return result;
}

} // namespace quelo
